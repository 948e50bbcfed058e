#include "ltmp3/wave_player.h"

namespace ltmp3 {

namespace {

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Lock() { LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

} // namespace

WavePlayer::WavePlayer(WaveOutput& output, PcmSource& source) : core_(output, source)
{
    InitializeCriticalSection(&calls_);
    InitializeCriticalSection(&lock_);
    wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE wake = wake_;
    core_.SetDoneSignal([wake] { SetEvent(wake); });
}

WavePlayer::~WavePlayer()
{
    Stop();
    if (wake_)
        CloseHandle(wake_);
    DeleteCriticalSection(&lock_);
    DeleteCriticalSection(&calls_);
}

DWORD WINAPI WavePlayer::ThreadMain(void* self)
{
    static_cast<WavePlayer*>(self)->Run();
    return 0;
}

void WavePlayer::Run()
{
    for (;;) {
        WaitForSingleObject(wake_, 250);
        Lock lock(lock_);
        // At the end of the piece the rules stop the player themselves.
        if (quit_ || !core_.Step())
            return;
    }
}

void WavePlayer::EndThread()
{
    HANDLE thread;
    {
        Lock lock(lock_);
        thread = thread_;
        thread_ = nullptr;
        quit_ = true;
    }
    if (thread) {
        SetEvent(wake_);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    Lock lock(lock_);
    quit_ = false;
}

void WavePlayer::SetPiece(const StreamInfo* info)
{
    Lock calls(calls_);
    EndThread();
    Lock lock(lock_);
    core_.SetPiece(info);
}

bool WavePlayer::Play()
{
    Lock calls(calls_);
    {
        Lock lock(lock_);
        if (core_.State() != PlayState::Stopped)
            return false; // playing or paused: nothing changes
    }
    // Stopped with a thread left: it ended at the end of the piece and is
    // on its way out.
    EndThread();
    Lock lock(lock_);
    if (!core_.Play())
        return false;
    // A small stack: the thread only decodes into buffers that live on the heap.
    thread_ =
        CreateThread(nullptr, 64 * 1024, &WavePlayer::ThreadMain, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread_) {
        core_.Stop();
        return false;
    }
    return true;
}

void WavePlayer::Stop()
{
    Lock calls(calls_);
    EndThread();
    Lock lock(lock_);
    core_.Stop();
}

void WavePlayer::Pause()
{
    Lock calls(calls_);
    Lock lock(lock_);
    core_.Pause();
}

bool WavePlayer::Restart()
{
    Lock calls(calls_);
    Lock lock(lock_);
    return core_.Restart();
}

void WavePlayer::Seek(std::uint32_t second)
{
    Lock calls(calls_);
    Lock lock(lock_);
    core_.Seek(second);
}

PlayState WavePlayer::State(std::uint32_t* positionSeconds)
{
    Lock lock(lock_);
    if (positionSeconds)
        *positionSeconds = core_.PositionSeconds();
    return core_.State();
}

void WavePlayer::SetVolume(std::uint32_t word)
{
    Lock calls(calls_);
    Lock lock(lock_);
    core_.SetVolume(word);
}

} // namespace ltmp3
