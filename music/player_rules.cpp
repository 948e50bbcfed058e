#include "music/player_rules.h"

#include <algorithm>
#include <array>

#include "core/text_rules.h"

namespace lt {

namespace {

struct Region {
    PlayerRegion Id;
    int Left, Right; // right exclusive
    int Top, Bottom; // bottom exclusive
    bool MidiOnly;
};

// In the order they are tested: the first match wins, so x 84 of the button
// row is play and y 76 of the bars is the seek bar.
constexpr std::array kRegions{
    Region{PlayerRegion::Minimise, 270, 286, 4, 21, false},
    Region{PlayerRegion::Close, 286, 302, 4, 21, false},
    Region{PlayerRegion::Play, 31, 85, 96, 119, false},
    Region{PlayerRegion::Stop, 84, 111, 96, 119, false},
    Region{PlayerRegion::Pause, 111, 138, 96, 119, false},
    Region{PlayerRegion::Rewind, 138, 165, 96, 119, false},
    Region{PlayerRegion::Next, 165, 192, 96, 119, false},
    Region{PlayerRegion::TempoReset, 88, 127, 76, 91, true},
    Region{PlayerRegion::TempoUp, 128, 144, 75, 92, true},
    Region{PlayerRegion::TempoDown, 144, 160, 75, 92, true},
    Region{PlayerRegion::SeekBar, 151, 301, 59, 77, false},
    Region{PlayerRegion::TempoBar, 151, 301, 76, 94, true},
    Region{PlayerRegion::VolumeBar, 5, 36, 0, 121, false},
};

Region Bounds(const Region& r, HitPhase phase)
{
    Region b = r;
    if (r.Id == PlayerRegion::VolumeBar && phase == HitPhase::Drag)
        b.Right = 26;
    return b;
}

bool Contains(const Region& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

PlayerRegion HitTest(int x, int y, bool midi, HitPhase phase)
{
    for (const Region& r : kRegions) {
        if (r.MidiOnly && !midi)
            continue;
        if (Contains(Bounds(r, phase), x, y))
            return r.Id;
    }
    return PlayerRegion::None;
}

bool InRegion(PlayerRegion region, int x, int y, HitPhase phase)
{
    for (const Region& r : kRegions)
        if (r.Id == region)
            return Contains(Bounds(r, phase), x, y);
    return false;
}

int PercentOf(std::int32_t value, std::int32_t maximum)
{
    if (maximum == 0)
        return 0;
    return static_cast<int>(RoundHalfEven(static_cast<double>(value) * 100.0 / maximum));
}

int SeekThumbX(std::int32_t position, std::int32_t length)
{
    return kThumbLeft + PercentOf(position, length) * kThumbTravel / 100;
}

int TempoThumbX(int tempo)
{
    return kThumbLeft + PercentOf(tempo, kMaxTempo) * kThumbTravel / 100;
}

int VolumeKnobY(int attenuation)
{
    return kKnobTop + PercentOf(attenuation, kMaxAttenuation) * kKnobTravel / 100;
}

std::int32_t SeekPositionAt(int x, std::int32_t length)
{
    const int percent = std::clamp((x - kThumbLeft) * 100 / kThumbTravel, 0, 100);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(length) * percent / 100);
}

int TempoAt(int x)
{
    const int percent = std::clamp((x - kThumbLeft) * 100 / kThumbTravel, 1, 100);
    return kMaxTempo * percent / 100;
}

int AttenuationAt(int y, HitPhase phase)
{
    const int low = phase == HitPhase::Press ? 0 : 1;
    return std::clamp((y - kKnobTop) * 100 / kKnobTravel, low, 100);
}

int TempoUp(int tempo)
{
    return tempo + 10 <= kMaxTempo ? tempo + 10 : kMaxTempo;
}

int TempoDown(int tempo)
{
    return tempo - 10 >= 2 ? tempo - 10 : 1;
}

void Marquee::Advance(int width)
{
    ++Step;
    if (width <= Remainder) { // nothing to scroll
        Step = Remainder = 0;
    } else if (Step > (width - Remainder) / 3) {
        Remainder = (width - Remainder) % 3;
        Step = 0;
    }
}

int PreviousMusicEntry(const FileTable& table, int playing)
{
    const auto music = [&](int i) {
        const FileKind k = table.At(i).Kind;
        return k == FileKind::Midi || k == FileKind::Mp3;
    };
    for (int i = std::min(playing, table.Count() + 1) - 1; i >= 1; --i)
        if (music(i))
            return i;
    for (int i = table.Count(); i >= std::max(playing, 1); --i)
        if (music(i))
            return i;
    return 0;
}

std::string MarqueePeriodText(const std::string& title)
{
    return title + "       ";
}

std::string MarqueeText(const std::string& title)
{
    const std::string once = MarqueePeriodText(title);
    return once + once;
}

std::string Mp3FormatLine(std::int32_t bitRate, std::int32_t samplingRate, std::int32_t channels)
{
    return std::to_string(bitRate) + "k/s " + std::to_string(samplingRate / 1000) +
           (channels == 2 ? "kHz ｽﾃﾚｵ" : "kHz ﾓﾉﾗﾙ");
}

std::string WaveFormatLine(std::int32_t samplesPerSec, std::int32_t bitsPerSample, std::int32_t channels)
{
    return std::to_string(samplesPerSec / 1000) + "kHz " + std::to_string(bitsPerSample) +
           (channels == 2 ? "ﾋﾞｯﾄ ｽﾃﾚｵ" : "ﾋﾞｯﾄ ﾓﾉﾗﾙ");
}

} // namespace lt
