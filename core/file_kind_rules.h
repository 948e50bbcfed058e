// Classification of a file by its first bytes (and, for M3U, by its name).
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace lt {

enum class FileKind : std::int16_t {
    None = 0,
    Picture = 1,
    Wave = 2,
    Midi = 3,
    Movie = 4,
    List = 5,
    Mp3 = 6,
    M3u = 7,
};

// The list box filter value that shows every kind.
inline constexpr std::int16_t FilterAll = 10;

// How many leading bytes the byte rules look at.
inline constexpr std::size_t KindHeadSize = 17;

// True when the name alone decides the kind (M3U); the file is then not read.
bool IsM3uName(std::string_view path);

// Kind from the file's first bytes; head may be shorter than KindHeadSize,
// missing bytes count as 0. Does not apply the name rule.
FileKind KindFromHead(std::span<const std::uint8_t> head);

} // namespace lt
