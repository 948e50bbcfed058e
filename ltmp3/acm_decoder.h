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
    static constexpr std::size_t MaxFramesPerCall = 8;

    AcmDecoder() = default;
    AcmDecoder(const AcmDecoder&) = delete;
    AcmDecoder& operator=(const AcmDecoder&) = delete;
    ~AcmDecoder() { Close(); }

    bool Open(const FrameHeader& format);
    void Close();
    // Forgets the stream so far (after a seek).
    bool Restart();
    bool IsOpen() const { return stream_ != nullptr; }
    const WAVEFORMATEX& Pcm() const { return pcm_; }

    // Appends the PCM of up to MaxFramesPerCall whole frames to out.
    bool Decode(std::span<const std::uint8_t> frames, std::vector<std::uint8_t>& out);

private:
    bool OpenStream();

    MPEGLAYER3WAVEFORMAT mp3_{};
    WAVEFORMATEX pcm_{};
    HACMSTREAM stream_ = nullptr;
    ACMSTREAMHEADER header_{};
    std::vector<std::uint8_t> src_, dst_;
    bool started_ = false;
};

// Decodes the frames [first, last) of a scanned file in runs of whole frames.
bool DecodeFrames(AcmDecoder& decoder, std::span<const std::uint8_t> file, const StreamInfo& info, std::size_t first,
                  std::size_t last, std::vector<std::uint8_t>& out);

} // namespace ltmp3
