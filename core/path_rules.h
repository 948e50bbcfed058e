// Separators in ANSI paths. In Shift-JIS many characters (表, ソ, 能, 予, 十,
// 申, 暴, 貼...) have 0x5C, the backslash, as their second byte, so a path's
// last byte alone never tells whether it ends in a separator.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace lt {

// Position of the last character of path that is one of `separators`
// (single-byte characters only), or npos. Trail bytes never count.
std::size_t LastSeparator(std::string_view path, std::string_view separators = "\\");

// True when the last character of path is a backslash.
bool EndsWithSeparator(std::string_view path);

// path with one backslash added unless it already ends with one.
std::string WithTrailingSeparator(std::string_view path);

// path without its trailing backslashes ("C:\dir\\" -> "C:\dir").
std::string WithoutTrailingSeparators(std::string_view path);

// The path up to and including its last backslash ("" when it has none).
std::string FolderPrefix(std::string_view path);

} // namespace lt
