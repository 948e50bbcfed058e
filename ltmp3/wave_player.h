// Plays the frames of one scanned file on the wave output device, decoding
// on a thread of its own. Every public call is safe from any thread; none
// waits for the playing thread while holding the lock it takes.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ltmp3/acm_decoder.h"
#include "ltmp3/mpeg_frames.h"

namespace ltmp3 {

enum class PlayState : std::int32_t { Stopped = 0, Playing = 1, Paused = 2 };

class WavePlayer {
public:
    WavePlayer();
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // The file to play from now on (the player must be stopped); an empty
    // span forgets it.
    void SetSource(std::span<const std::uint8_t> file, const StreamInfo* info);

    bool Play();                     // from stopped only, at the kept position
    void Stop();                     // position back to 0
    void Pause();                    // playing -> paused
    bool Restart();                  // paused -> playing
    void Seek(std::uint32_t second); // while playing or paused
    PlayState State(std::uint32_t* positionSeconds);
    void SetVolume(DWORD word); // kept across files, applied on every open

private:
    // About 0.3 s each at 44.1 kHz: four queued keep over a second ahead
    // of the device, in about 220 KB of stereo PCM.
    static constexpr int BufferCount = 4;
    static constexpr std::size_t SamplesPerBuffer = 12 * 1152;

    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    bool OpenDevice();
    void CloseDevice();              // lock held, thread gone
    void StartAt(std::size_t frame); // lock held
    void FillFreeBuffers();          // lock held
    void ApplySeek();                // lock held, on the thread
    bool AllBuffersDone() const;
    std::uint64_t PlayedSamples();
    void JoinThread(); // lock NOT held

    CRITICAL_SECTION lock_;
    HANDLE wake_ = nullptr; // auto-reset; the device signals it per buffer
    HANDLE thread_ = nullptr;
    volatile bool quit_ = false;

    std::span<const std::uint8_t> file_;
    const StreamInfo* info_ = nullptr;
    AcmDecoder decoder_;
    HWAVEOUT device_ = nullptr;
    std::array<WAVEHDR, BufferCount> headers_{};
    // The wave buffers, in one block of pages of their own that goes back
    // to the system at stop rather than staying in the heap.
    std::uint8_t* block_ = nullptr;
    DWORD bufferBytes_ = 0;
    std::vector<std::uint8_t> pending_; // one decode call's output, not yet queued
    std::size_t pendingAt_ = 0;         // what of it is queued already
    std::size_t nextFrame_ = 0;
    std::uint64_t baseSample_ = 0;             // sample where the device's count began
    std::uint64_t keptSample_ = 0;             // position while stopped
    std::optional<std::uint32_t> pendingSeek_; // second asked for, not yet reached
    PlayState state_ = PlayState::Stopped;
    DWORD volume_ = 0xFFFFFFFF;
};

} // namespace ltmp3
