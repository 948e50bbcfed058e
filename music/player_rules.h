// The player window's geometry and the rules its mouse handlers and drawing
// apply: hit regions, slider mappings, tempo steps, the title marquee and the
// format line.
#pragma once
#include <cstdint>
#include <string>

#include "core/file_table.h"
#include "music/music_rules.h"

namespace lt {

enum class PlayerRegion {
    None,
    Minimise,
    Close,
    Play,
    Stop,
    Pause,
    Rewind,
    Next,
    TempoReset,
    TempoUp,
    TempoDown,
    SeekBar,
    TempoBar,
    VolumeBar,
};

// The volume bar is wider for a press than for a drag or a release.
enum class HitPhase { Press, Drag };

// First region of the table that holds (x, y); the tempo controls count only
// for a MIDI piece.
PlayerRegion HitTest(int x, int y, bool midi, HitPhase phase);

// True when (x, y) is inside that one region (the release rules ask this).
bool InRegion(PlayerRegion region, int x, int y, HitPhase phase);

// value x 100 / maximum to the nearest whole number; 0 when maximum is 0.
int PercentOf(std::int32_t value, std::int32_t maximum);

constexpr int kThumbLeft = 161;
constexpr int kThumbTravel = 129;
constexpr int kKnobTop = 16;
constexpr int kKnobTravel = 92;
constexpr int kMaxAttenuation = 100;

int SeekThumbX(std::int32_t position, std::int32_t length);
int TempoThumbX(int tempo);
int VolumeKnobY(int attenuation);

std::int32_t SeekPositionAt(int x, std::int32_t length);
int TempoAt(int x);
// A press may reach 0 (full volume); a drag or release stops at 1.
int AttenuationAt(int y, HitPhase phase);

int TempoUp(int tempo);   // +10, at most 300
int TempoDown(int tempo); // -10, at least 1

// A title wider than the panel scrolls.
constexpr int kTitlePanelWidth = 262;
inline bool TitleScrolls(int width) { return width > kTitlePanelWidth; }

// The scrolling title: the text (title + 7 spaces, twice) is printed at
// x = left - 3 x step + remainder, one step further each frame. A period ends
// when step > (w - remainder) / 3, w the width of the title and its spaces;
// the next starts at step 0 with remainder (w - remainder) mod 3.
struct Marquee {
    int Step = 0;
    int Remainder = 0;

    // How far left of the panel's edge the text starts.
    int Offset() const { return 3 * Step - Remainder; }
    int TextX(int left) const { return left - Offset(); }
    // Width of the print box that keeps the whole visible part on one line.
    int BoxWidth() const { return 3 * Step + kTitlePanelWidth + Remainder + 50; }
    void Advance(int width);
};

std::string MarqueeText(const std::string& title); // title + 7 spaces, twice
std::string MarqueePeriodText(const std::string& title); // title + 7 spaces

// The MIDI or MP3 entry before the playing one, wrapping to the end of the
// list and back to the playing one itself; 0 when there is none. The mirror
// of how the next piece is found.
int PreviousMusicEntry(const FileTable& table, int playing);

// "128k/s 44kHz ｽﾃﾚｵ"
std::string Mp3FormatLine(std::int32_t bitRate, std::int32_t samplingRate, std::int32_t channels);
// "22kHz 8ﾋﾞｯﾄ ﾓﾉﾗﾙ"
std::string WaveFormatLine(std::int32_t samplesPerSec, std::int32_t bitsPerSample, std::int32_t channels);

} // namespace lt
