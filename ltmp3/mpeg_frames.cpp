#include "ltmp3/mpeg_frames.h"

#include <array>

namespace ltmp3 {

namespace {

constexpr std::array<int, 16> BitRatesV1 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<int, 16> BitRatesV2 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr std::array<int, 3> RatesV1 = {44100, 48000, 32000};

bool SameStream(const FrameHeader& a, const FrameHeader& b)
{
    return a.Version == b.Version && a.SampleRate == b.SampleRate && a.Layer == b.Layer;
}

// A header that agrees with `first` at pos, whose frame fits before end.
std::optional<FrameHeader> FrameAt(std::span<const std::uint8_t> file, std::size_t pos, std::size_t end,
                                   const FrameHeader* first)
{
    if (pos + 4 > end)
        return std::nullopt;
    auto h = ParseFrameHeader(file.subspan(pos, 4));
    if (!h || (first && !SameStream(*h, *first)))
        return std::nullopt;
    return h;
}

// A frame at pos that is followed by another frame of the same stream (or by
// the end of the audio): this tells real frames from sync-like junk.
bool ConfirmedFrameAt(std::span<const std::uint8_t> file, std::size_t pos, std::size_t end, const FrameHeader* first)
{
    auto h = FrameAt(file, pos, end, first);
    if (!h)
        return false;
    std::size_t next = pos + h->FrameBytes();
    if (next > end)
        return false;
    if (next + 4 > end)
        return true;
    return FrameAt(file, next, end, &*h).has_value();
}

std::optional<std::size_t> NextConfirmedFrame(std::span<const std::uint8_t> file, std::size_t from, std::size_t end,
                                              const FrameHeader* first)
{
    for (std::size_t pos = from; pos + 4 <= end; ++pos) {
        if (file[pos] == 0xFF && ConfirmedFrameAt(file, pos, end, first))
            return pos;
    }
    return std::nullopt;
}

} // namespace

int FrameHeader::FrameBytes() const
{
    const int factor = Version == 1 ? 144000 : 72000;
    return factor * BitRate / SampleRate + (Padding ? 1 : 0);
}

std::optional<FrameHeader> ParseFrameHeader(std::span<const std::uint8_t> data)
{
    if (data.size() < 4 || data[0] != 0xFF || (data[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (data[1] >> 3) & 3;
    const int layerBits = (data[1] >> 1) & 3;
    const int rateIndex = data[2] >> 4;
    const int sampleIndex = (data[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3)
        return std::nullopt;
    FrameHeader h;
    h.Version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.Layer = 3;
    h.ProtectionBit = data[1] & 1;
    h.BitRate = h.Version == 1 ? BitRatesV1[rateIndex] : BitRatesV2[rateIndex];
    h.SampleRate = RatesV1[sampleIndex] / (h.Version == 1 ? 1 : h.Version == 2 ? 2 : 4);
    h.Padding = (data[2] >> 1) & 1;
    h.Private = data[2] & 1;
    h.ChannelMode = data[3] >> 6;
    h.Copyright = (data[3] >> 3) & 1;
    h.Original = (data[3] >> 2) & 1;
    h.Emphasis = data[3] & 3;
    return h;
}

std::uint32_t StreamInfo::Seconds() const
{
    return First.SampleRate ? static_cast<std::uint32_t>(Samples() / First.SampleRate) : 0;
}

int StreamInfo::AverageBitRate() const
{
    const std::uint64_t samples = Samples();
    if (!samples)
        return First.BitRate;
    return static_cast<int>((AudioBytes * 8 * First.SampleRate + samples * 500) / (samples * 1000));
}

std::size_t Id3v2Size(std::span<const std::uint8_t> file)
{
    if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3')
        return 0;
    std::size_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (file[i] & 0x80)
            return 0; // not a synchsafe size: not a tag
        size = (size << 7) | file[i];
    }
    const bool footer = file[5] & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

std::optional<StreamInfo> ScanFrames(std::span<const std::uint8_t> file)
{
    std::size_t start = Id3v2Size(file);
    std::size_t end = file.size();
    if (start >= end)
        start = 0; // a tag size past the end: look at everything
    if (end - start >= 128 && file[end - 128] == 'T' && file[end - 127] == 'A' && file[end - 126] == 'G')
        end -= 128;

    auto first = NextConfirmedFrame(file, start, end, nullptr);
    if (!first)
        return std::nullopt;
    StreamInfo info;
    info.First = *ParseFrameHeader(file.subspan(*first, 4));
    std::size_t pos = *first;
    while (pos + 4 <= end) {
        auto h = FrameAt(file, pos, end, &info.First);
        if (!h) {
            // Damage inside the stream: carry on at the next good frame.
            auto next = NextConfirmedFrame(file, pos + 1, end, &info.First);
            if (!next)
                break;
            pos = *next;
            continue;
        }
        const std::size_t bytes = h->FrameBytes();
        if (pos + bytes > end)
            break; // truncated last frame
        if (h->BitRate != info.First.BitRate)
            info.VariableRate = true;
        info.Offsets.push_back(static_cast<std::uint32_t>(pos));
        info.AudioBytes += bytes;
        pos += bytes;
    }
    if (info.Offsets.empty())
        return std::nullopt;
    return info;
}

std::size_t FrameForSecond(std::uint32_t second, const StreamInfo& info)
{
    const int spf = info.First.SamplesPerFrame();
    const std::uint64_t frame = std::uint64_t(second) * info.First.SampleRate / spf;
    return frame < info.Offsets.size() ? static_cast<std::size_t>(frame) : info.Offsets.size();
}

} // namespace ltmp3
