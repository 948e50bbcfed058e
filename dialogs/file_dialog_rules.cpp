#include "dialogs/file_dialog_rules.h"

#include <vector>

#include "core/path_rules.h"
#include "core/text_rules.h"

namespace lt {
namespace {

// The buffer did not hold the separator its selection mode promises.
constexpr const char* BadArgumentText = "プロシージャの呼び出し、または引数が不正です。";

// Calls f(position, byteCount) for each character, a double-byte one as one.
template <typename F> void ForEachChar(std::string_view text, F f)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = (IsSjisLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
        f(i, n);
        i += n;
    }
}

// Single-byte separators are matched on character boundaries only.
std::vector<std::string> SplitAtBackslash(std::string_view path)
{
    std::vector<std::string> parts(1);
    ForEachChar(path, [&](std::size_t i, std::size_t n) {
        if (n == 1 && path[i] == '\\')
            parts.emplace_back();
        else
            parts.back().append(path.substr(i, n));
    });
    return parts;
}

// Text before `separator`, or nothing when it is not there. The separators
// used here (NUL, space) never occur as trail bytes.
std::optional<std::string> UpTo(std::string_view text, std::string_view separator)
{
    const auto at = text.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    return std::string(text.substr(0, at));
}

} // namespace

std::string PlatformFilter(std::string_view filter)
{
    std::string out;
    out.reserve(filter.size() + 1);
    ForEachChar(filter, [&](std::size_t i, std::size_t n) {
        if (n == 1 && filter[i] == '|')
            out.push_back('\0');
        else
            out.append(filter.substr(i, n));
    });
    out.push_back('\0');
    return out;
}

std::size_t FileBufferLength(std::int32_t maxFileSize)
{
    return maxFileSize > 255 ? static_cast<std::size_t>(maxFileSize) : 255;
}

std::uint32_t DialogMaxFile(std::uint32_t flags, std::size_t bufferLength)
{
    const std::uint32_t both = OfnAllowMultiSelect | OfnExplorer;
    return (flags & both) == both ? static_cast<std::uint32_t>(bufferLength) : 255;
}

std::string FillBuffer(std::string_view text, std::size_t length, char terminator)
{
    if (length == 0)
        return {};
    std::string out;
    out.reserve(length);
    ForEachChar(text, [&](std::size_t i, std::size_t n) {
        if (out.size() == i && i + n <= length - 1)
            out.append(text.substr(i, n));
    });
    out.resize(length, terminator);
    return out;
}

std::string FolderPart(std::string_view path)
{
    const std::size_t at = LastSeparator(path, "\\:");
    if (at == std::string_view::npos)
        return {};
    // Keep a drive's colon, drop the backslash: C:\dir\a -> C:\dir, C:\a -> C:.
    return std::string(path.substr(0, path[at] == '\\' ? at : at + 1));
}

std::string LongNameForm(std::string_view path, const NameLookup& lookup)
{
    const auto parts = SplitAtBackslash(path);
    if (parts.size() == 1)
        return std::string(path);
    std::string shortPrefix = parts[0];
    std::string result = parts[0];
    for (std::size_t k = 1; k < parts.size(); ++k) {
        shortPrefix += '\\';
        shortPrefix += parts[k];
        if (const auto found = lookup(shortPrefix)) {
            result += '\\';
            result += *found;
        }
    }
    return result;
}

DialogReadBack ReadBackSelection(std::uint32_t flags, std::string_view fileBuffer, std::string_view titleBuffer,
                                 const NameLookup& lookup)
{
    using namespace std::string_view_literals;
    DialogReadBack out;
    const auto fail = [&out] {
        out.Failure = BadArgumentText;
        return out;
    };

    if (!(flags & OfnAllowMultiSelect)) {
        out.FileName = UpTo(fileBuffer, "\0"sv);
        if (!out.FileName)
            return fail();
        out.FileTitle = UpTo(titleBuffer, "\0"sv);
        if (!out.FileTitle)
            return fail();
        out.DirectoryName = FolderPart(*out.FileName);
    } else if (flags & OfnExplorer) {
        out.FileName = UpTo(fileBuffer, "\0\0"sv);
        if (!out.FileName)
            return fail();
        out.DirectoryName = UpTo(fileBuffer, "\0"sv);
    } else {
        out.FileName = UpTo(fileBuffer, "  "sv);
        if (!out.FileName)
            return fail();
        // A double space was found, so a single one is there too.
        out.DirectoryName = LongNameForm(*UpTo(fileBuffer, " "sv), lookup);
    }
    return out;
}

} // namespace lt
