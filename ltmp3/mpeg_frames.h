// MPEG audio layer 3 frame headers and the frame scan of a whole file, as
// pure functions over bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ltmp3 {

struct FrameHeader {
    int Version = 1; // 1 = MPEG-1, 2 = MPEG-2, 25 = MPEG-2.5
    int Layer = 3;
    int ProtectionBit = 1; // 0: a CRC follows the header
    bool Padding = false;
    bool Private = false;
    int ChannelMode = 0; // 0 stereo, 1 joint, 2 dual, 3 mono
    bool Copyright = false;
    bool Original = false;
    int Emphasis = 0;
    int BitRate = 0;    // kbit/s
    int SampleRate = 0; // Hz
    int Channels() const { return ChannelMode == 3 ? 1 : 2; }
    int SamplesPerFrame() const { return Version == 1 ? 1152 : 576; }
    int FrameBytes() const;
};

// The four header bytes at the start of data as a layer 3 frame header, or
// nothing (no sync, reserved values, free format, or fewer than 4 bytes).
std::optional<FrameHeader> ParseFrameHeader(std::span<const std::uint8_t> data);

struct StreamInfo {
    FrameHeader First;                  // header of the first frame
    std::vector<std::uint32_t> Offsets; // file offset of every whole frame
    std::uint64_t AudioBytes = 0;       // bytes of those frames
    bool VariableRate = false;
    std::uint64_t Samples() const { return std::uint64_t(Offsets.size()) * First.SamplesPerFrame(); }
    std::uint32_t Seconds() const;
    int AverageBitRate() const; // kbit/s over the whole frames
};

// Size of a leading ID3v2 tag (header, footer and its size), 0 when none.
std::size_t Id3v2Size(std::span<const std::uint8_t> file);

// Finds the frames of a file: skips a leading ID3v2 tag and junk before the
// first frame, stops before a trailing ID3v1 tag and drops a truncated last
// frame. Nothing when no frame is found. A frame only counts as the first
// when the next header agrees with it, so stray sync bytes in junk are passed
// over.
std::optional<StreamInfo> ScanFrames(std::span<const std::uint8_t> file);

// The frame that holds the given second; the frame count when it is past
// the end.
std::size_t FrameForSecond(std::uint32_t second, const StreamInfo& info);

} // namespace ltmp3
