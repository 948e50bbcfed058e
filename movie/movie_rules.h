// The movie window's rules: reply parsing, command strings, sizes, layout and
// the position bar's scale. No platform calls here.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lt {

// Field n (1-based) of text split at delimiter; "" when there are fewer.
std::string GetField(std::string_view text, int n, std::string_view delimiter);

// The text after the last backslash; "" when there is none. A backslash byte
// inside a double-byte character is not a separator.
std::string FileNameOf(std::string_view path);

// True when an MCI mode reply starts with the given word ("playing", ...).
bool ModeIs(std::string_view reply, std::string_view mode);

// Frame size from the reply of "where AVI source" (left top width height).
// Heights come back negative for top-down frames; the size is what counts.
struct FrameSize {
    int Width = 0;
    int Height = 0;
};
FrameSize ParseSourceRect(std::string_view reply);

// Outer window size for a frame: the borders, caption, menu bar, speed meter
// and position bar around it.
FrameSize MovieWindowSize(FrameSize frame);

// The smallest outer size the window may be dragged to.
inline constexpr FrameSize MovieMinimumSize{131, 183};

// How the path goes into the open command: unchanged when it has no blank,
// else its short form when that has none, else quoted.
std::string OpenTarget(std::string_view path, std::string_view shortPath);
// The parent window goes in as its full pointer-sized value.
std::string OpenCommand(std::string_view target, std::uintptr_t parentWindow);

// The window in the reply of "status AVI window handle". A window handle has
// 32 significant bits, and a 64-bit handle is their sign extension, so the
// reply may be written either as the 32-bit unsigned value or as a negative
// number; both give the same handle. 0 when the reply is no such number.
std::uintptr_t WindowHandleOfReply(std::string_view reply);
std::string SeekCommand(int frame);
std::string SpeedCommand(int movieSpeed);

// "100％": the speed display for an MCI speed (1000 = normal).
std::string SpeedCaption(int movieSpeed);

struct SpeedPreset {
    const char* Caption;
    int Meter; // percent
};
extern const std::array<SpeedPreset, 5> SpeedPresets;

// The speed meter's range and steps.
inline constexpr int SpeedMeterMin = 10, SpeedMeterMax = 500, SpeedMeterSmall = 10, SpeedMeterLarge = 20;
inline constexpr int PositionLarge = 2;

// A frame position is the end when it is the last frame or past it: one
// platform reports the last frame at the end, another the length.
bool AtEnd(double position, std::int32_t length);

// The position bar's value is the frame; its range is 16-bit, so longer
// movies are scaled onto it.
struct PositionScale {
    std::int32_t Length = 0;
    int BarMax() const;
    int ToBar(double frame) const;
    // The frame to seek to for a bar value, never past the last frame (a
    // seek to the length itself is out of range on one platform).
    std::int32_t ToFrame(int bar) const;
};

// What a key does in the movie window (key codes are the platform's virtual
// keys). Steps move the position bar or the speed meter.
enum class MovieKey { None, PlayStop, Rewind, Preset, PositionBack, PositionOn, Slower, Faster };
struct MovieKeyCommand {
    MovieKey Action = MovieKey::None;
    int Preset = 0; // index into SpeedPresets
    bool operator==(const MovieKeyCommand&) const = default;
};
MovieKeyCommand MovieKeyFor(int keyCode);
// A held key repeats the steps; the other commands act once per press.
bool KeyRepeats(MovieKey action);
// One key step of the position bar: a tenth of its range, at least 1.
int PositionKeyStep(int barMax);

struct Box {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Child positions for a client area of the movie window.
struct MovieLayout {
    Box PicAvi, SpScroll, Label1, LaRader, SclPos;
    int LineEnd = 0; // the two separator lines run from x = 2 to here
};
MovieLayout LayoutMovie(int clientWidth, int clientHeight);

} // namespace lt
