#include "core/path_rules.h"

#include "core/text_rules.h"

namespace lt {

namespace {

// Start of the last character of path (npos for an empty path).
std::size_t LastCharStart(std::string_view path)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        last = i;
        if (IsSjisLead(static_cast<unsigned char>(path[i])))
            ++i;
    }
    return last;
}

} // namespace

std::size_t LastSeparator(std::string_view path, std::string_view separators)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(path[i])))
            ++i;
        else if (separators.find(path[i]) != std::string_view::npos)
            found = i;
    }
    return found;
}

bool EndsWithSeparator(std::string_view path)
{
    const std::size_t last = LastCharStart(path);
    return last != std::string_view::npos && last == path.size() - 1 && path[last] == '\\';
}

std::string WithTrailingSeparator(std::string_view path)
{
    std::string out(path);
    if (!EndsWithSeparator(path))
        out += '\\';
    return out;
}

std::string WithoutTrailingSeparators(std::string_view path)
{
    while (EndsWithSeparator(path))
        path.remove_suffix(1);
    return std::string(path);
}

std::string FolderPrefix(std::string_view path)
{
    const std::size_t at = LastSeparator(path);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

} // namespace lt
