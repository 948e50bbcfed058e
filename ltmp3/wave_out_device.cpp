#include "ltmp3/wave_out_device.h"

namespace ltmp3 {

void CALLBACK WaveOutDevice::Done(HWAVEOUT, UINT message, DWORD_PTR self, DWORD_PTR, DWORD_PTR)
{
    // The device's thread: nothing here but the signal.
    if (message == WOM_DONE) {
        auto* device = reinterpret_cast<WaveOutDevice*>(self);
        if (device->done_ && !device->handingBack_)
            device->done_();
    }
}

bool WaveOutDevice::Open(const PcmFormat& format, int count, std::size_t bytes, std::function<void()> done)
{
    Close();
    if (count < 1 || count > MaxBuffers)
        return false;
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = static_cast<WORD>(format.Channels);
    pcm.nSamplesPerSec = static_cast<DWORD>(format.SampleRate);
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = static_cast<WORD>(format.BlockAlign());
    pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
    done_ = std::move(done);
    block_ = static_cast<std::uint8_t*>(VirtualAlloc(nullptr, bytes * count, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block_)
        return false;
    if (waveOutOpen(&device_, WAVE_MAPPER, &pcm, reinterpret_cast<DWORD_PTR>(&WaveOutDevice::Done),
                    reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        device_ = nullptr;
        Close();
        return false;
    }
    count_ = count;
    bufferBytes_ = static_cast<DWORD>(bytes);
    blockAlign_ = format.BlockAlign();
    paused_ = false;
    for (int i = 0; i < count_; ++i) {
        headers_[i] = {};
        headers_[i].lpData = reinterpret_cast<LPSTR>(block_ + std::size_t(i) * bytes);
        headers_[i].dwBufferLength = bufferBytes_;
        waveOutPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        headers_[i].dwFlags |= WHDR_DONE; // free to fill
    }
    return true;
}

void WaveOutDevice::Close()
{
    if (device_) {
        handingBack_ = true;
        waveOutReset(device_);
        handingBack_ = false;
        for (int i = 0; i < count_; ++i) {
            headers_[i].dwBufferLength = bufferBytes_;
            waveOutUnprepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        }
        waveOutClose(device_);
        device_ = nullptr;
    }
    if (block_)
        VirtualFree(block_, 0, MEM_RELEASE);
    block_ = nullptr;
    count_ = 0;
}

std::uint8_t* WaveOutDevice::Buffer(int index)
{
    return reinterpret_cast<std::uint8_t*>(headers_[index].lpData);
}

bool WaveOutDevice::IsFree(int index) const
{
    // Set by the device's thread.
    return static_cast<const volatile DWORD&>(headers_[index].dwFlags) & WHDR_DONE;
}

bool WaveOutDevice::Write(int index, std::size_t bytes)
{
    WAVEHDR& h = headers_[index];
    h.dwBufferLength = static_cast<DWORD>(bytes);
    h.dwFlags &= ~WHDR_DONE;
    if (waveOutWrite(device_, &h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR)
        return true;
    h.dwFlags |= WHDR_DONE;
    return false;
}

void WaveOutDevice::Reset()
{
    handingBack_ = true;
    waveOutReset(device_);
    handingBack_ = false;
    if (paused_)
        waveOutPause(device_);
}

void WaveOutDevice::Pause()
{
    waveOutPause(device_);
    paused_ = true;
}

bool WaveOutDevice::Restart()
{
    if (waveOutRestart(device_) != MMSYSERR_NOERROR)
        return false;
    paused_ = false;
    return true;
}

std::uint64_t WaveOutDevice::PlayedBytes()
{
    MMTIME t{};
    t.wType = TIME_BYTES;
    if (waveOutGetPosition(device_, &t, sizeof t) != MMSYSERR_NOERROR)
        return 0;
    if (t.wType == TIME_BYTES)
        return t.u.cb;
    if (t.wType == TIME_SAMPLES)
        return std::uint64_t(t.u.sample) * std::uint64_t(blockAlign_);
    return 0;
}

void WaveOutDevice::SetVolume(std::uint32_t word)
{
    waveOutSetVolume(device_, word);
}

} // namespace ltmp3
