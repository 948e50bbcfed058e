#include "ltmp3/frame_source.h"

#include <algorithm>
#include <cstring>

namespace ltmp3 {

void FrameSource::SetFile(const FileReader* file, const StreamInfo* info)
{
    Close();
    file_ = file;
    info_ = info;
}

PcmFormat FrameSource::Format() const
{
    PcmFormat f;
    if (info_) {
        f.Channels = info_->First.Channels();
        f.SampleRate = info_->First.SampleRate;
    }
    return f;
}

bool FrameSource::Start(std::size_t frame)
{
    if (!file_ || !info_)
        return false;
    // Reopening is the one reset every codec honours.
    if (!(decoder_.IsOpen() ? decoder_.Restart() : decoder_.Open(info_->First)))
        return false;
    next_ = frame;
    pending_.clear();
    pendingAt_ = 0;
    failed_ = false;
    return true;
}

bool FrameSource::DecodeNext()
{
    const std::size_t count = info_->Offsets.size();
    while (next_ < count && !failed_) {
        const std::size_t last = std::min(count, next_ + AcmDecoder::MaxFramesPerCall);
        const std::uint64_t base = info_->Offsets[next_];
        // Up to the end of the last frame; junk between frames can make that
        // far, and one call's worth of adjacent frames is what one call takes.
        const std::uint64_t want = std::min<std::uint64_t>(info_->Offsets[last - 1] - base + AcmDecoder::MaxFrameBytes,
                                                           AcmDecoder::MaxFramesPerCall * AcmDecoder::MaxFrameBytes);
        block_.resize(static_cast<std::size_t>(want));
        const std::size_t got = file_->ReadAt(base, block_.data(), block_.size());
        pending_.clear();
        pendingAt_ = 0;
        const std::size_t done = DecodeFrames(decoder_, {block_.data(), got}, base, *info_, next_, last, pending_);
        if (done == 0) {
            // Not one whole frame where the scan found them: the file cannot
            // be read any more, or is no longer what it was.
            failed_ = true;
            break;
        }
        next_ += done;
        if (!pending_.empty())
            return true;
    }
    return false;
}

std::size_t FrameSource::Read(std::uint8_t* out, std::size_t room)
{
    if (!decoder_.IsOpen())
        return 0;
    if (pendingAt_ == pending_.size() && !DecodeNext())
        return 0;
    const std::size_t n = std::min(room, pending_.size() - pendingAt_);
    std::memcpy(out, pending_.data() + pendingAt_, n);
    pendingAt_ += n;
    return n;
}

void FrameSource::Close()
{
    decoder_.Close();
    std::vector<std::uint8_t>().swap(block_);
    std::vector<std::uint8_t>().swap(pending_);
    pendingAt_ = 0;
    next_ = 0;
}

} // namespace ltmp3
