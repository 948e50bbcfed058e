// The wave output through waveOut: its buffers in one block of pages of
// their own that goes back to the system at close rather than staying in
// the heap.
#pragma once
#include <windows.h>

#include <array>

#include "ltmp3/player_core.h"

namespace ltmp3 {

class WaveOutDevice final : public WaveOutput {
public:
    static constexpr int MaxBuffers = 8;

    WaveOutDevice() = default;
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;
    ~WaveOutDevice() override { Close(); }

    bool Open(const PcmFormat& format, int count, std::size_t bytes, std::function<void()> done) override;
    void Close() override;
    std::uint8_t* Buffer(int index) override;
    bool IsFree(int index) const override;
    bool Write(int index, std::size_t bytes) override;
    void Reset() override;
    void Pause() override;
    bool Restart() override;
    std::uint64_t PlayedBytes() override;
    void SetVolume(std::uint32_t word) override;

private:
    static void CALLBACK Done(HWAVEOUT, UINT message, DWORD_PTR self, DWORD_PTR, DWORD_PTR);

    HWAVEOUT device_ = nullptr;
    std::array<WAVEHDR, MaxBuffers> headers_{};
    int count_ = 0;
    std::uint8_t* block_ = nullptr;
    DWORD bufferBytes_ = 0;
    int blockAlign_ = 4;
    bool paused_ = false;
    volatile bool handingBack_ = false; // a reset or close: no done signals
    std::function<void()> done_;
};

} // namespace ltmp3
