#include "core/file_kind_rules.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/text_rules.h"

namespace lt {

namespace {

// The head zero-filled to the full size, so every rule can look at its bytes
// whatever the length of the file.
using Head = std::array<std::uint8_t, KindHeadSize>;

bool Has(const Head& head, std::size_t offset, std::string_view text)
{
    return std::memcmp(head.data() + offset, text.data(), text.size()) == 0;
}

} // namespace

bool IsM3uName(std::string_view path)
{
    return EndsWithNoCase(path, "M3U");
}

FileKind KindFromHead(std::span<const std::uint8_t> bytes)
{
    Head head{};
    std::memcpy(head.data(), bytes.data(), std::min(bytes.size(), head.size()));

    if (Has(head, 0, "BM"))
        return FileKind::Picture;
    if (Has(head, 0, "MThd"))
        return FileKind::Midi;
    bool riff = Has(head, 0, "RIFF");
    if (riff) {
        if (Has(head, 8, "WAVE"))
            return FileKind::Wave;
        // Three bytes only: the form type is "AVI " with a blank.
        if (Has(head, 8, "AVI"))
            return FileKind::Movie;
    }
    // Other RIFF forms skip the GIF and MPEG tests and go on to JFIF.
    if (!riff) {
        if (Has(head, 0, "GIF"))
            return FileKind::Picture;
        if (head[0] == 0xFF && (head[1] == 0xFB || head[1] == 0xF3))
            return FileKind::Mp3;
    }
    if (Has(head, 6, "JFIF"))
        return FileKind::Picture;
    const std::string_view first13(reinterpret_cast<const char*>(head.data()), 13);
    if (AsciiUpper(first13) == "LUMATROVELIST")
        return FileKind::List;
    return FileKind::None;
}

} // namespace lt
