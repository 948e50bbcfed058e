#include "core/list_file_format.h"

#include "core/path_rules.h"
#include "core/text_rules.h"

namespace lt {

namespace {

// Comma, quote, blank, CR and LF never occur as Shift-JIS trail bytes
// (0x40..0xFC), so the field grammar can look at single bytes.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
bool IsSeparator(char c)
{
    return c == ',' || IsLineEnd(c);
}

constexpr std::string_view Magic = "LUMATROVELIST";


} // namespace

std::string ListHeaderLine()
{
    return "LumatroveList Ver" + std::to_string(ListVersionMajor) + "." + std::to_string(ListVersionMinor);
}

bool IsListHeader(std::string_view firstField)
{
    return AsciiUpper(firstField.substr(0, Magic.size())) == Magic;
}

std::string FieldReader::Next()
{
    const std::size_t size = text_.size();
    while (pos_ < size && IsBlank(text_[pos_]))
        ++pos_;

    std::string field;
    if (pos_ < size && text_[pos_] == '"') {
        const std::size_t start = pos_ + 1;
        std::size_t close = text_.find('"', start);
        if (close == std::string_view::npos)
            close = size;
        field.assign(text_.substr(start, close - start));
        pos_ = close;
        while (pos_ < size && !IsSeparator(text_[pos_]))
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < size && !IsSeparator(text_[pos_]))
            ++pos_;
        field.assign(text_.substr(start, pos_ - start));
    }

    if (pos_ < size) {
        const char sep = text_[pos_++];
        if (sep == '\r' && pos_ < size && text_[pos_] == '\n')
            ++pos_;
    }
    return field;
}

std::string ListFieldText(std::string_view path)
{
    const bool quote =
        path.find(',') != std::string_view::npos || (!path.empty() && (IsBlank(path.front()) || path.front() == '"'));
    if (!quote)
        return std::string(path);
    std::string out;
    out.reserve(path.size() + 2);
    out += '"';
    out += path;
    out += '"';
    return out;
}

std::string ListFileImage(const FileTable& table)
{
    std::string image = ListHeaderLine() + "\r\n";
    for (const FileEntry& entry : table.Entries()) {
        image += ListFieldText(entry.Path);
        image += "\r\n";
    }
    return image;
}

std::string M3uCandidate(std::string_view m3uPath, std::string_view field)
{
    std::string out = FolderPrefix(m3uPath);
    out += field;
    return out;
}

bool CanNamePath(std::string_view field)
{
    if (field.empty() || field.size() > MaxPathBytes)
        return false;
    for (char c : field) {
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    return true;
}

} // namespace lt
