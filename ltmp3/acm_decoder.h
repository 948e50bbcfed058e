// MP3 frames to 16-bit PCM through the platform's ACM layer-3 codec.
#pragma once
#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cstdint>
#include <span>
#include <vector>

#include "ltmp3/mpeg_frames.h"

namespace ltmp3 {

class AcmDecoder {
public:
    // Frames handed to one Decode call at most.
    static constexpr std::size_t MaxFramesPerCall = 12;
    // MPEG-1, 320 kbit/s at 32 kHz, padded.
    static constexpr std::size_t MaxFrameBytes = 1441 + 4;

    AcmDecoder() = default;
    AcmDecoder(const AcmDecoder&) = delete;
    AcmDecoder& operator=(const AcmDecoder&) = delete;
    ~AcmDecoder() { Close(); }

    // A codec of the driver given, else the first that takes the format.
    bool Open(const FrameHeader& format, HACMDRIVER driver = nullptr);
    void Close();
    // Forgets the stream so far (after a seek).
    bool Restart();
    bool IsOpen() const { return stream_ != nullptr; }
    const WAVEFORMATEX& Pcm() const { return pcm_; }

    // Appends the PCM of up to MaxFramesPerCall whole frames to out. What
    // the codec leaves of them goes first into the next call.
    bool Decode(std::span<const std::uint8_t> frames, std::vector<std::uint8_t>& out);
    // Streams opened since Open, the first included: a reopen loses the
    // codec's bit reservoir, so only seeks and refused frames should add one.
    int StreamsOpened() const { return opened_; }

private:
    bool OpenStream();

    MPEGLAYER3WAVEFORMAT mp3_{};
    WAVEFORMATEX pcm_{};
    HACMDRIVER driver_ = nullptr;
    HACMSTREAM stream_ = nullptr;
    ACMSTREAMHEADER header_{};
    // The prepared header's buffers: they never move or grow while the
    // stream is open, only the lengths offered change.
    std::vector<std::uint8_t> src_, dst_;
    std::size_t carried_ = 0; // source bytes at the front of src_ the codec has not taken yet
    bool started_ = false;
    int opened_ = 0;
};

// Decodes the frames [first, last) of a scanned file in runs of adjacent
// whole frames. `bytes` is the part of the file from offset `base` on.
// Returns how many frames it got through: fewer than asked when the bytes
// end before a frame does. A run the codec refuses is passed over and the
// codec opened afresh.
std::size_t DecodeFrames(AcmDecoder& decoder, std::span<const std::uint8_t> bytes, std::uint64_t base,
                         const StreamInfo& info, std::size_t first, std::size_t last, std::vector<std::uint8_t>& out);

} // namespace ltmp3
