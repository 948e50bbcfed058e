// A wave output device and a PCM source of our own for the playing rules:
// the device plays only when told (Complete), records what it played and
// every misuse (a write to a buffer it still holds, a call while closed).
// Thread-safe, so the playing thread can be driven against it too.
#pragma once
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "ltmp3/player_core.h"

namespace ltmp3::test {

class FakeWaveOutput final : public WaveOutput {
public:
    bool Open(const PcmFormat& format, int count, std::size_t bytes, std::function<void()> done) override
    {
        std::lock_guard g(m_);
        if (open_)
            misuse_ += "open while open; ";
        if (failOpen_)
            return false;
        open_ = true;
        paused_ = false;
        played_ = 0;
        format_ = format;
        buffers_.assign(count, std::vector<std::uint8_t>(bytes));
        free_.assign(count, true);
        queue_.clear();
        done_ = std::move(done);
        ++opens_;
        return true;
    }
    void Close() override
    {
        std::lock_guard g(m_);
        if (!open_)
            misuse_ += "close while closed; ";
        open_ = false;
        HandBackAll();
    }
    std::uint8_t* Buffer(int i) override { return buffers_.at(i).data(); }
    bool IsFree(int i) const override
    {
        std::lock_guard g(m_);
        return free_.at(i);
    }
    bool Write(int i, std::size_t bytes) override
    {
        std::lock_guard g(m_);
        if (!open_ || !free_.at(i) || bytes == 0 || bytes > buffers_[i].size()) {
            misuse_ += "bad write; ";
            return false;
        }
        free_[i] = false;
        queue_.push_back({i, bytes});
        return true;
    }
    void Reset() override
    {
        std::lock_guard g(m_);
        if (!open_)
            misuse_ += "reset while closed; ";
        played_ = 0;
        HandBackAll();
    }
    void Pause() override
    {
        std::lock_guard g(m_);
        paused_ = true;
    }
    bool Restart() override
    {
        std::lock_guard g(m_);
        paused_ = false;
        return open_;
    }
    std::uint64_t PlayedBytes() override
    {
        std::lock_guard g(m_);
        if (!open_)
            misuse_ += "position while closed; ";
        return played_;
    }
    void SetVolume(std::uint32_t word) override
    {
        std::lock_guard g(m_);
        volume_ = word;
    }

    // Plays up to n queued buffers (none while paused), each handed back
    // with the done signal; how many it played.
    int Complete(int n = 1)
    {
        int played = 0;
        std::function<void()> done;
        {
            std::lock_guard g(m_);
            for (; played < n && open_ && !paused_ && !queue_.empty(); ++played) {
                const auto [i, bytes] = queue_.front();
                queue_.pop_front();
                heard_.insert(heard_.end(), buffers_[i].begin(), buffers_[i].begin() + std::ptrdiff_t(bytes));
                played_ += bytes;
                free_[i] = true;
            }
            done = done_;
        }
        for (int i = 0; i < played; ++i)
            if (done)
                done();
        return played;
    }
    int Queued() const
    {
        std::lock_guard g(m_);
        return int(queue_.size());
    }
    bool IsOpen() const
    {
        std::lock_guard g(m_);
        return open_;
    }
    bool IsPaused() const
    {
        std::lock_guard g(m_);
        return paused_;
    }
    std::string Misuse() const
    {
        std::lock_guard g(m_);
        return misuse_;
    }
    std::vector<std::uint8_t> TakeHeard()
    {
        std::lock_guard g(m_);
        return std::exchange(heard_, {});
    }

    int opens_ = 0;
    bool failOpen_ = false;
    std::uint32_t volume_ = 0;
    PcmFormat format_;

private:
    void HandBackAll()
    {
        free_.assign(free_.size(), true);
        queue_.clear();
    }

    struct Queued_ {
        int Index;
        std::size_t Bytes;
    };
    mutable std::mutex m_;
    bool open_ = false, paused_ = false;
    std::uint64_t played_ = 0;
    std::vector<std::vector<std::uint8_t>> buffers_;
    std::vector<bool> free_;
    std::deque<Queued_> queue_;
    std::vector<std::uint8_t> heard_;
    std::string misuse_;
    std::function<void()> done_;
};

// PCM whose every 16-bit sample is the number of the frame it came from.
class NumberedFrames final : public PcmSource {
public:
    explicit NumberedFrames(const StreamInfo& info) : info_(info) {}
    PcmFormat Format() const override { return {info_.First.Channels(), info_.First.SampleRate}; }
    bool Start(std::size_t frame) override
    {
        ++starts_;
        frame_ = frame;
        at_ = 0;
        return !failStart_;
    }
    std::size_t Read(std::uint8_t* out, std::size_t room) override
    {
        const std::size_t frameBytes = std::size_t(info_.First.SamplesPerFrame()) * Format().BlockAlign();
        std::size_t n = 0;
        while (n + 2 <= room && frame_ < std::min(info_.Offsets.size(), readableFrames_)) {
            const auto v = static_cast<std::uint16_t>(frame_);
            std::memcpy(out + n, &v, 2);
            n += 2;
            if ((at_ += 2) == frameBytes) {
                at_ = 0;
                ++frame_;
            }
        }
        return n;
    }
    void Close() override { frame_ = at_ = 0; }

    int starts_ = 0;
    bool failStart_ = false;
    std::size_t readableFrames_ = SIZE_MAX; // fewer: the file cannot be read past them

private:
    const StreamInfo& info_;
    std::size_t frame_ = 0, at_ = 0;
};

// A scanned 44.1 kHz stereo piece of `frames` frames (the offsets are never read).
inline StreamInfo Piece(std::size_t frames)
{
    StreamInfo info;
    info.First.SampleRate = 44100;
    info.First.ChannelMode = 1;
    info.First.BitRate = 128;
    info.Offsets.assign(frames, 0);
    return info;
}

} // namespace ltmp3::test
