// Writes the 128 bytes of an ID3v1 tag to a file without touching its audio.
#pragma once
#include <array>
#include <cstdint>

namespace ltmp3 {

// Replaces the tag at the end of the file, or appends one. On a failed or
// short write the file is put back as it was. True when the tag is written.
bool WriteTagToFile(const char* path, const std::array<std::uint8_t, 128>& tag);

} // namespace ltmp3
