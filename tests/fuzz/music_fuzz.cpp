// libFuzzer targets for the parsers that read files from anywhere: the MPEG
// frame scan, the ID3v1 tag and the MIDI title. Built natively by
// scripts/fuzz with one of LT_FUZZ_MPEG, LT_FUZZ_ID3 or LT_FUZZ_MIDI.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "ltmp3/id3v1.h"
#include "ltmp3/mpeg_frames.h"
#include "music/music_rules.h"

#define CHECK(c)                                                                                                       \
    do {                                                                                                               \
        if (!(c))                                                                                                      \
            std::abort();                                                                                              \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
#if defined(LT_FUZZ_MPEG)
    if (auto info = ltmp3::ScanFrames(bytes)) {
        std::size_t end = 0;
        for (std::uint32_t at : info->Offsets) {
            CHECK(at >= end); // frames in order, never overlapping
            const auto h = ltmp3::ParseFrameHeader(bytes.subspan(at));
            CHECK(h);
            end = at + h->FrameBytes();
            CHECK(end <= size);
        }
        CHECK(ltmp3::FrameForSecond(0xFFFFFFFFu, *info) == info->Offsets.size());
    }
#elif defined(LT_FUZZ_ID3)
    if (auto tag = ltmp3::ReadId3v1(bytes)) {
        // What is read writes back to the same tag.
        const auto once = ltmp3::WriteId3v1(*tag);
        const auto again = ltmp3::ReadId3v1(once);
        CHECK(again);
        CHECK(ltmp3::WriteId3v1(*again) == once);
        CHECK(again->Title.size() <= 30 && again->Comment.size() <= 30 && again->Year.size() <= 4);
    }
#elif defined(LT_FUZZ_MIDI)
    const std::string title = lt::MidiTitle(bytes);
    CHECK(!title.empty() && title.size() <= 255);
#else
#error "choose a target"
#endif
    return 0;
}
