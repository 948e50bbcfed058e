#include "viewer/picture_header.h"

#include <cstdlib>

namespace lt {

namespace {

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

constexpr std::size_t FileHeaderSize = 14;

} // namespace

bool PlausiblePictureHeader(std::span<const std::uint8_t> file)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        return true;
    if (file.size() < FileHeaderSize + 12)
        return false;
    const std::uint32_t infoSize = U32(file, 14);
    const std::uint32_t pixelsAt = U32(file, 10);
    // Core, info and the later versions of the info header.
    if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 64 && infoSize != 108 &&
        infoSize != 124)
        return false;
    if (FileHeaderSize + infoSize > file.size() || pixelsAt > file.size())
        return false;
    long width = 0, height = 0;
    std::uint16_t bits = 0;
    if (infoSize == 12) {
        width = U16(file, 18);
        height = U16(file, 20);
        bits = U16(file, 24);
    } else {
        width = static_cast<std::int32_t>(U32(file, 18));
        height = static_cast<std::int32_t>(U32(file, 22));
        bits = U16(file, 28);
    }
    const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return knownDepth && width > 0 && height != 0 && width <= 32767 && std::labs(height) <= 32767;
}

} // namespace lt
