// A look at a picture file's header before it goes to the platform's
// decoder, which is not to be trusted with headers that lie about sizes.
#pragma once
#include <cstdint>
#include <span>

namespace lt {

// False for a BMP whose headers do not fit the file or name impossible
// sizes; other kinds are left to the decoder (true).
bool PlausiblePictureHeader(std::span<const std::uint8_t> file);

} // namespace lt
