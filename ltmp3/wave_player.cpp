#include "ltmp3/wave_player.h"

#include <algorithm>
#include <cstring>

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

WavePlayer::WavePlayer()
{
    InitializeCriticalSection(&lock_);
    wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

WavePlayer::~WavePlayer()
{
    Stop();
    if (wake_)
        CloseHandle(wake_);
    DeleteCriticalSection(&lock_);
}

void WavePlayer::SetSource(std::span<const std::uint8_t> file, const StreamInfo* info)
{
    Stop();
    Lock lock(lock_);
    decoder_.Close();
    file_ = file;
    info_ = info;
    keptSample_ = 0;
}

bool WavePlayer::OpenDevice()
{
    if (!info_ || file_.empty() || !decoder_.Open(info_->First))
        return false;
    WAVEFORMATEX pcm = decoder_.Pcm();
    if (waveOutOpen(&device_, WAVE_MAPPER, &pcm, reinterpret_cast<DWORD_PTR>(wake_), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        device_ = nullptr;
        decoder_.Close();
        return false;
    }
    waveOutSetVolume(device_, volume_);
    bufferBytes_ = static_cast<DWORD>(SamplesPerBuffer * pcm.nBlockAlign);
    pending_.reserve((AcmDecoder::MaxFramesPerCall + 4) * info_->First.SamplesPerFrame() * pcm.nBlockAlign);
    block_ = static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, std::size_t(bufferBytes_) * BufferCount, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block_) {
        waveOutClose(device_);
        device_ = nullptr;
        decoder_.Close();
        return false;
    }
    for (int i = 0; i < BufferCount; ++i) {
        headers_[i] = {};
        headers_[i].lpData = reinterpret_cast<LPSTR>(block_ + std::size_t(i) * bufferBytes_);
        headers_[i].dwBufferLength = bufferBytes_;
        waveOutPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        headers_[i].dwFlags |= WHDR_DONE; // free to fill
    }
    return true;
}

void WavePlayer::CloseDevice()
{
    if (device_) {
        waveOutReset(device_);
        for (auto& h : headers_) {
            h.dwBufferLength = bufferBytes_;
            waveOutUnprepareHeader(device_, &h, sizeof(WAVEHDR));
        }
        waveOutClose(device_);
        device_ = nullptr;
    }
    if (block_)
        VirtualFree(block_, 0, MEM_RELEASE);
    block_ = nullptr;
    std::vector<std::uint8_t>().swap(pending_);
    pendingAt_ = 0;
    decoder_.Close();
}

void WavePlayer::StartAt(std::size_t frame)
{
    nextFrame_ = frame;
    baseSample_ = std::uint64_t(frame) * info_->First.SamplesPerFrame();
    pending_.clear();
    pendingAt_ = 0;
    if (decoder_.IsOpen())
        decoder_.Restart();
}

bool WavePlayer::AllBuffersDone() const
{
    for (const auto& h : headers_)
        if (!(h.dwFlags & WHDR_DONE))
            return false;
    return true;
}

void WavePlayer::FillFreeBuffers()
{
    if (!device_)
        return;
    const std::size_t count = info_->Offsets.size();
    for (WAVEHDR& h : headers_) {
        if (!(h.dwFlags & WHDR_DONE))
            continue;
        auto* out = reinterpret_cast<std::uint8_t*>(h.lpData);
        DWORD filled = 0;
        while (filled < bufferBytes_) {
            if (pendingAt_ == pending_.size()) {
                if (nextFrame_ >= count)
                    break;
                // One call's worth at a time: the carried remainder stays
                // under one call's output.
                pending_.clear();
                pendingAt_ = 0;
                const std::size_t last = std::min(count, nextFrame_ + AcmDecoder::MaxFramesPerCall);
                if (!DecodeFrames(decoder_, file_, *info_, nextFrame_, last, pending_)) {
                    // A frame the codec refuses: start afresh after it.
                    decoder_.Restart();
                }
                nextFrame_ = last;
                continue;
            }
            const std::size_t n = std::min<std::size_t>(pending_.size() - pendingAt_, bufferBytes_ - filled);
            std::memcpy(out + filled, pending_.data() + pendingAt_, n);
            filled += static_cast<DWORD>(n);
            pendingAt_ += n;
        }
        if (filled == 0)
            return;
        h.dwBufferLength = filled;
        h.dwFlags &= ~WHDR_DONE;
        if (waveOutWrite(device_, &h, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
            h.dwFlags |= WHDR_DONE;
    }
}

std::uint64_t WavePlayer::PlayedSamples()
{
    if (!device_)
        return keptSample_;
    MMTIME t{};
    t.wType = TIME_BYTES;
    std::uint64_t played = 0;
    if (waveOutGetPosition(device_, &t, sizeof t) == MMSYSERR_NOERROR) {
        if (t.wType == TIME_BYTES)
            played = t.u.cb / decoder_.Pcm().nBlockAlign;
        else if (t.wType == TIME_SAMPLES)
            played = t.u.sample;
    }
    return std::min(baseSample_ + played, info_->Samples());
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
        if (quit_)
            return;
        if (pendingSeek_)
            ApplySeek();
        FillFreeBuffers();
        const bool drained = nextFrame_ >= info_->Offsets.size() && pendingAt_ == pending_.size();
        if (state_ == PlayState::Playing && drained && AllBuffersDone()) {
            // The natural end: the next play starts from the beginning.
            CloseDevice();
            state_ = PlayState::Stopped;
            keptSample_ = 0;
            return;
        }
    }
}

void WavePlayer::JoinThread()
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

bool WavePlayer::Play()
{
    JoinThread(); // a thread that ended at the natural end is collected here
    Lock lock(lock_);
    if (state_ != PlayState::Stopped || !info_)
        return false;
    if (!OpenDevice())
        return false;
    const std::uint64_t spf = info_->First.SamplesPerFrame();
    StartAt(static_cast<std::size_t>(keptSample_ / spf));
    FillFreeBuffers();
    // A small stack: the thread only decodes into buffers that live on the heap.
    thread_ =
        CreateThread(nullptr, 64 * 1024, &WavePlayer::ThreadMain, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread_) {
        CloseDevice();
        return false;
    }
    state_ = PlayState::Playing;
    return true;
}

void WavePlayer::Stop()
{
    JoinThread();
    Lock lock(lock_);
    CloseDevice();
    state_ = PlayState::Stopped;
    keptSample_ = 0;
    pendingSeek_.reset();
}

void WavePlayer::Pause()
{
    Lock lock(lock_);
    if (state_ != PlayState::Playing || !device_)
        return;
    waveOutPause(device_);
    state_ = PlayState::Paused;
}

bool WavePlayer::Restart()
{
    Lock lock(lock_);
    if (state_ != PlayState::Paused || !device_)
        return false;
    if (waveOutRestart(device_) != MMSYSERR_NOERROR)
        return false;
    state_ = PlayState::Playing;
    SetEvent(wake_);
    return true;
}

void WavePlayer::Seek(std::uint32_t second)
{
    Lock lock(lock_);
    if (state_ == PlayState::Stopped || !device_ || !info_)
        return;
    // The thread moves there; the caller does not wait for the device or
    // the codec, and the position reads as the target at once.
    pendingSeek_ = second;
    SetEvent(wake_);
}

void WavePlayer::ApplySeek()
{
    const std::uint32_t second = *pendingSeek_;
    pendingSeek_.reset();
    waveOutReset(device_); // hands every buffer back and zeroes the device's count
    if (state_ == PlayState::Paused)
        waveOutPause(device_);
    StartAt(FrameForSecond(second, *info_));
    // The position reads as the second asked for: the frame that holds it
    // starts up to one frame (26 ms) earlier.
    baseSample_ = std::min<std::uint64_t>(std::uint64_t(second) * info_->First.SampleRate, info_->Samples());
}

PlayState WavePlayer::State(std::uint32_t* positionSeconds)
{
    Lock lock(lock_);
    if (positionSeconds) {
        const int rate = info_ ? info_->First.SampleRate : 0;
        const std::uint64_t at = pendingSeek_
                                     ? std::min<std::uint64_t>(std::uint64_t(*pendingSeek_) * rate, info_->Samples())
                                     : PlayedSamples();
        *positionSeconds = rate ? static_cast<std::uint32_t>(at / rate) : 0;
    }
    return state_;
}

void WavePlayer::SetVolume(DWORD word)
{
    Lock lock(lock_);
    volume_ = word;
    if (device_)
        waveOutSetVolume(device_, word);
}

} // namespace ltmp3
