// The frames of the open file as PCM: read from the file a run at a time and
// decoded by the ACM codec.
#pragma once
#include <cstdint>
#include <vector>

#include "ltmp3/acm_decoder.h"
#include "ltmp3/file_reader.h"
#include "ltmp3/player_core.h"

namespace ltmp3 {

class FrameSource final : public PcmSource {
public:
    FrameSource() = default;
    // The file and its scan; both outlive every later call until the next.
    void SetFile(const FileReader* file, const StreamInfo* info);

    PcmFormat Format() const override;
    bool Start(std::size_t frame) override;
    std::size_t Read(std::uint8_t* out, std::size_t room) override;
    void Close() override;

    const AcmDecoder& Decoder() const { return decoder_; }
    bool ReadFailed() const { return failed_; } // the file gave fewer bytes than its frames

private:
    bool DecodeNext();

    const FileReader* file_ = nullptr;
    const StreamInfo* info_ = nullptr;
    AcmDecoder decoder_;
    std::vector<std::uint8_t> block_;   // frames read from the file
    std::vector<std::uint8_t> pending_; // decoded, not yet handed out
    std::size_t pendingAt_ = 0;
    std::size_t next_ = 0; // next frame to decode
    bool failed_ = false;
};

} // namespace ltmp3
