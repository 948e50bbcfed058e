// The playing rules of the library: which call acts in which state, how the
// wave buffers are kept full and what the position reads. Platform-free: the
// wave output and the decoded PCM come through the two small interfaces
// below, so the rules run against fakes in the unit tests. The caller holds
// one lock around every call (the public calls and the playing thread's
// turns alike).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "ltmp3/mpeg_frames.h"

namespace ltmp3 {

enum class PlayState : std::int32_t { Stopped = 0, Playing = 1, Paused = 2 };

// 16-bit PCM.
struct PcmFormat {
    int Channels = 2;
    int SampleRate = 44100;
    int BlockAlign() const { return Channels * 2; }
};

// The wave output device: a few buffers of its own that it plays in the
// order written and hands back one by one.
class WaveOutput {
public:
    virtual ~WaveOutput() = default;
    // Opens the device with `count` free buffers of `bytes` each. `done` is
    // called, possibly on a thread of the device's, each time a buffer comes
    // back played (not for those a reset or close hands back); it may only
    // signal.
    virtual bool Open(const PcmFormat& format, int count, std::size_t bytes, std::function<void()> done) = 0;
    virtual void Close() = 0; // every buffer back first; nothing after it returns
    virtual std::uint8_t* Buffer(int index) = 0;
    virtual bool IsFree(int index) const = 0;
    virtual bool Write(int index, std::size_t bytes) = 0;
    virtual void Reset() = 0; // every buffer back, the played count to 0; stays paused if it was
    virtual void Pause() = 0;
    virtual bool Restart() = 0;
    virtual std::uint64_t PlayedBytes() = 0; // since the open or the last reset
    virtual void SetVolume(std::uint32_t word) = 0;
};

// The piece as PCM, from any of its frames on.
class PcmSource {
public:
    virtual ~PcmSource() = default;
    virtual PcmFormat Format() const = 0;
    virtual bool Start(std::size_t frame) = 0; // PCM from that frame on; false: cannot decode
    // Up to `room` bytes of the next PCM; 0 at the end of the piece, or when
    // it can no longer be read.
    virtual std::size_t Read(std::uint8_t* out, std::size_t room) = 0;
    virtual void Close() = 0;
};

class PlayerCore {
public:
    // About 0.3 s each at 44.1 kHz: four queued keep over a second ahead of
    // the device, in about 220 KB of stereo PCM.
    static constexpr int BufferCount = 4;
    static constexpr std::size_t SamplesPerBuffer = 12 * 1152;
    // Filled at once after a seek, the rest at the next turn: the sound
    // resumes sooner, and a seek soon after throws less decoding away.
    static constexpr int BuffersAfterSeek = 2;

    PlayerCore(WaveOutput& output, PcmSource& source) : output_(output), source_(source) {}
    PlayerCore(const PlayerCore&) = delete;
    PlayerCore& operator=(const PlayerCore&) = delete;

    // The piece played from now on; stops first. Null forgets it.
    void SetPiece(const StreamInfo* info);
    // The device's done signal, passed to every open.
    void SetDoneSignal(std::function<void()> done) { done_ = std::move(done); }

    bool Play();                     // from stopped only, from the start
    void Stop();                     // position back to 0
    void Pause();                    // playing -> paused
    bool Restart();                  // paused -> playing
    void Seek(std::uint32_t second); // while playing or paused
    PlayState State() const { return state_; }
    std::uint32_t PositionSeconds();
    void SetVolume(std::uint32_t word);

    // The playing thread's turn, after the done signal or a wait: applies a
    // seek asked for and refills the free buffers. False once the piece has
    // ended (then stopped) or the player is stopped: the thread is done.
    bool Step();

private:
    void StartAt(std::size_t frame);
    void Fill(int most = BufferCount);
    void ApplySeek();
    void CloseDevice();
    bool AllFree() const;
    std::uint64_t PlayedSamples();

    WaveOutput& output_;
    PcmSource& source_;
    std::function<void()> done_;
    const StreamInfo* info_ = nullptr;
    bool open_ = false;
    bool ended_ = false;                       // the source has nothing more
    std::size_t bufferBytes_ = 0;
    int blockAlign_ = 4;
    std::uint64_t baseSample_ = 0;             // sample where the device's count began
    std::optional<std::uint32_t> pendingSeek_; // second asked for, not yet reached
    PlayState state_ = PlayState::Stopped;
    std::uint32_t volume_ = 0xFFFFFFFF;
};

} // namespace ltmp3
