#include "ltmp3/player_core.h"

#include <algorithm>

namespace ltmp3 {

void PlayerCore::SetPiece(const StreamInfo* info)
{
    Stop();
    source_.Close();
    info_ = info;
}

bool PlayerCore::Play()
{
    if (state_ != PlayState::Stopped || !info_ || info_->Offsets.empty())
        return false;
    const PcmFormat format = source_.Format();
    blockAlign_ = format.BlockAlign();
    bufferBytes_ = SamplesPerBuffer * std::size_t(blockAlign_);
    if (!output_.Open(format, BufferCount, bufferBytes_, done_))
        return false;
    open_ = true;
    output_.SetVolume(volume_);
    StartAt(0);
    Fill();
    if (ended_ && AllFree()) {
        // Nothing decodes (or can be read): nothing to play.
        CloseDevice();
        return false;
    }
    state_ = PlayState::Playing;
    return true;
}

void PlayerCore::Stop()
{
    CloseDevice();
    state_ = PlayState::Stopped;
    pendingSeek_.reset();
}

void PlayerCore::Pause()
{
    if (state_ != PlayState::Playing)
        return;
    output_.Pause();
    state_ = PlayState::Paused;
}

bool PlayerCore::Restart()
{
    if (state_ != PlayState::Paused || !output_.Restart())
        return false;
    state_ = PlayState::Playing;
    if (done_)
        done_(); // the thread refills what came back meanwhile
    return true;
}

void PlayerCore::Seek(std::uint32_t second)
{
    if (state_ == PlayState::Stopped)
        return;
    // The thread moves there; the caller does not wait for the device or
    // the codec, and the position reads as the target at once.
    pendingSeek_ = second;
    if (done_)
        done_();
}

bool PlayerCore::Step()
{
    if (state_ == PlayState::Stopped)
        return false;
    if (pendingSeek_) {
        ApplySeek();
        Fill(BuffersAfterSeek);
    } else {
        Fill();
    }
    if (state_ == PlayState::Playing && ended_ && AllFree()) {
        // The end of the piece: the next play starts from the beginning.
        Stop();
        return false;
    }
    return true;
}

std::uint32_t PlayerCore::PositionSeconds()
{
    if (!info_)
        return 0;
    const std::uint64_t rate = std::uint64_t(info_->First.SampleRate);
    const std::uint64_t at =
        pendingSeek_ ? std::min<std::uint64_t>(*pendingSeek_ * rate, info_->Samples()) : PlayedSamples();
    return rate ? static_cast<std::uint32_t>(at / rate) : 0;
}

void PlayerCore::SetVolume(std::uint32_t word)
{
    volume_ = word;
    if (open_)
        output_.SetVolume(word);
}

void PlayerCore::StartAt(std::size_t frame)
{
    baseSample_ = std::uint64_t(frame) * std::uint64_t(info_->First.SamplesPerFrame());
    ended_ = frame >= info_->Offsets.size() || !source_.Start(frame);
}

void PlayerCore::Fill(int most)
{
    if (!open_)
        return;
    for (int i = 0; i < BufferCount && !ended_ && most > 0; ++i) {
        if (!output_.IsFree(i))
            continue;
        --most;
        std::uint8_t* out = output_.Buffer(i);
        std::size_t filled = 0;
        while (filled < bufferBytes_) {
            const std::size_t n = source_.Read(out + filled, bufferBytes_ - filled);
            if (n == 0) {
                ended_ = true;
                break;
            }
            filled += n;
        }
        if (filled == 0 || !output_.Write(i, filled))
            return;
    }
}

void PlayerCore::ApplySeek()
{
    const std::uint32_t second = *pendingSeek_;
    pendingSeek_.reset();
    output_.Reset(); // hands every buffer back and zeroes the device's count
    StartAt(FrameForSecond(second, *info_));
    // The position reads as the second asked for: the frame that holds it
    // starts up to one frame (26 ms) earlier.
    baseSample_ = std::min<std::uint64_t>(std::uint64_t(second) * std::uint64_t(info_->First.SampleRate),
                                          info_->Samples());
}

void PlayerCore::CloseDevice()
{
    if (open_)
        output_.Close();
    open_ = false;
    source_.Close();
    ended_ = false;
}

bool PlayerCore::AllFree() const
{
    for (int i = 0; i < BufferCount; ++i)
        if (!output_.IsFree(i))
            return false;
    return true;
}

std::uint64_t PlayerCore::PlayedSamples()
{
    if (!open_)
        return 0; // stopped: at the start
    return std::min(baseSample_ + output_.PlayedBytes() / std::uint64_t(blockAlign_), info_->Samples());
}

} // namespace ltmp3
