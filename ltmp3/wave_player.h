// Plays the piece on a thread of its own: the playing rules, under one lock
// shared by the public calls and the thread. Every public call is safe from
// any thread; none waits for the playing thread while holding that lock,
// and the device's done signal takes no lock at all.
#pragma once
#include <windows.h>

#include "ltmp3/player_core.h"

namespace ltmp3 {

class WavePlayer {
public:
    WavePlayer(WaveOutput& output, PcmSource& source);
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // The piece to play from now on (stops first); null forgets it.
    void SetPiece(const StreamInfo* info);

    bool Play();                     // from stopped only, from the start
    void Stop();                     // position back to 0
    void Pause();                    // playing -> paused
    bool Restart();                  // paused -> playing
    void Seek(std::uint32_t second); // while playing or paused
    PlayState State(std::uint32_t* positionSeconds);
    void SetVolume(std::uint32_t word); // kept across pieces, applied on every open

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void EndThread(); // neither lock held by the thread; calls_ held

    CRITICAL_SECTION calls_; // one public call at a time; the thread never takes it
    CRITICAL_SECTION lock_;  // the rules' state, shared with the thread
    HANDLE wake_ = nullptr;  // auto-reset; the device signals it per buffer
    HANDLE thread_ = nullptr;
    bool quit_ = false;
    PlayerCore core_;
};

} // namespace ltmp3
