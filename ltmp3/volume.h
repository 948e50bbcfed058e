// The wave-out volume word: 0..100 per channel, left in the low word.
#pragma once
#include <cstdint>

namespace ltmp3 {

constexpr std::uint32_t VolumeWord(int left, int right)
{
    auto scale = [](int v) -> std::uint32_t {
        v = v < 0 ? 0 : v > 100 ? 100 : v;
        return static_cast<std::uint32_t>(v) * 65535u / 100u;
    };
    return scale(left) | (scale(right) << 16);
}

} // namespace ltmp3
