// Platform-free rules of music playback: MCI answers, volume words, titles,
// time texts and paths.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lt {

// The mode answer of an MCI device: 1 playing, 0 stopped, 2 paused, -1 for
// no answer; anything else reads as stopped.
int ModeFromAnswer(std::string_view answer);

// A millisecond answer as whole seconds, truncated toward zero.
std::int32_t SecondsFromAnswer(std::string_view answer);

// The midiOutSetVolume word for a volume 0..100: both channels get
// volume x 655.35, truncated.
std::uint32_t MidiVolumeWord(int volume);

// What MCI gets for a file: the short path, or the long path in quotes when
// there is no short path without blanks.
std::string MciPathArgument(std::string_view longPath, std::string_view shortPath);

// The first track-name or text event of a standard MIDI file, as stored
// (ANSI bytes), or "No Title". Never reads past the end of the bytes.
std::string MidiTitle(std::span<const std::uint8_t> file);

constexpr int kMaxTempo = 300;

// A tempo the sequencer answers, in the range the player works in (0 for no
// answer): some sequencers answer in microseconds per beat (500000), which
// would wrap as a 16-bit tempo and put the tempo thumb off the window.
int ClampTempo(std::int32_t answer);

// Minutes, a full-width colon, seconds: "02：05".
std::string FormatPlayTime(std::int32_t seconds);

// The path up to and including its last backslash, "" when there is none.
// A trail byte that looks like a backslash does not count.
std::string FolderOf(std::string_view path);

// The title the player shows: the piece's own, or for "No Title" the file's
// name (after the path's last backslash, never a trail byte).
std::string PlayerTitle(const std::string& title, std::string_view path);

// Artist and title of an MP3 piece as the player shows them.
std::string Mp3DisplayTitle(std::string_view artist, std::string_view title);

} // namespace lt
