// The library's decoding against the platform's codec, and its playing
// thread against a fake device that the test plays.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <atomic>
#include <thread>

#include "../unit/fake_wave_output.h"
#include "ltmp3/frame_source.h"
#include "ltmp3/wave_player.h"

using namespace ltmp3;

namespace {

std::string MediaPath(const char* name)
{
    std::string path = "Z:" LT_TEST_MEDIA "/" + std::string(name);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    for (int waited = 0; !done(); waited += 5) {
        if (waited > ms)
            return false;
        Sleep(5);
    }
    return true;
}

// What a codec's driver is sent (the driver kit's names; mingw has no header
// for them). The stream header a driver gets begins as the caller's.
constexpr UINT AcmMessages = DRV_USER + 0x2000;
constexpr UINT DriverDetails = AcmMessages + 10, FormatTagDetails = AcmMessages + 25, StreamOpen = AcmMessages + 76, StreamClose = AcmMessages + 77,
               StreamConvert = AcmMessages + 79;
struct StreamInstance {
    DWORD cbStruct;
    WAVEFORMATEX* Source;
    WAVEFORMATEX* Destination;
};

// A layer-3 codec of our own, as codecs may be: it decodes a frame only
// once it sees the next one begin, so each call leaves its last frame
// unconsumed, for the caller to offer again. Its PCM is silence.
struct LookAheadCodec {
    static inline int Converts = 0;

    static LRESULT CALLBACK Proc(DWORD_PTR, HACMDRIVERID, UINT msg, LPARAM l1, LPARAM l2)
    {
        switch (msg) {
        case DRV_LOAD:
        case DRV_FREE:
        case DRV_ENABLE:
        case DRV_DISABLE:
        case DRV_OPEN:
        case DRV_CLOSE:
            return 1;
        case DriverDetails: {
            auto* d = reinterpret_cast<ACMDRIVERDETAILSW*>(l1);
            const DWORD size = d->cbStruct;
            *d = {};
            d->cbStruct = size;
            d->fccType = ACMDRIVERDETAILS_FCCTYPE_AUDIOCODEC;
            d->fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
            d->cFormatTags = 2;
            d->vdwACM = 0x04000000;
            lstrcpyW(d->szShortName, L"look-ahead");
            return MMSYSERR_NOERROR;
        }
        case FormatTagDetails: {
            // The two it converts between, asked by index when it is added.
            auto* t = reinterpret_cast<ACMFORMATTAGDETAILSW*>(l1);
            if (t->dwFormatTagIndex > 1)
                return ACMERR_NOTPOSSIBLE;
            const bool mp3 = t->dwFormatTagIndex == 1;
            t->dwFormatTag = mp3 ? WAVE_FORMAT_MPEGLAYER3 : WAVE_FORMAT_PCM;
            t->cbFormatSize = mp3 ? sizeof(MPEGLAYER3WAVEFORMAT) : sizeof(PCMWAVEFORMAT);
            t->fdwSupport = ACMDRIVERDETAILS_SUPPORTF_CODEC;
            t->cStandardFormats = 1;
            t->szFormatTag[0] = 0;
            return MMSYSERR_NOERROR;
        }
        case StreamOpen: {
            const auto* in = reinterpret_cast<StreamInstance*>(l1);
            return in->Source->wFormatTag == WAVE_FORMAT_MPEGLAYER3 && in->Destination->wFormatTag == WAVE_FORMAT_PCM
                       ? MMSYSERR_NOERROR
                       : ACMERR_NOTPOSSIBLE;
        }
        case StreamClose:
            return MMSYSERR_NOERROR;
        case StreamConvert: {
            const auto* in = reinterpret_cast<StreamInstance*>(l1);
            auto* h = reinterpret_cast<ACMSTREAMHEADER*>(l2);
            ++Converts;
            const std::span<const std::uint8_t> src(h->pbSrc, h->cbSrcLength);
            const std::size_t pcm = 1152 * std::size_t(in->Destination->nBlockAlign);
            std::size_t used = 0, made = 0;
            for (;;) {
                const auto frame = ParseFrameHeader(src.subspan(used));
                const std::size_t next = frame ? used + std::size_t(frame->FrameBytes()) : src.size();
                if (!frame || next + 4 > src.size() || !ParseFrameHeader(src.subspan(next)) ||
                    made + pcm > h->cbDstLength)
                    break;
                std::memset(h->pbDst + made, 0, pcm);
                made += pcm;
                used = next;
            }
            h->cbSrcLengthUsed = DWORD(used);
            h->cbDstLengthUsed = DWORD(made);
            return MMSYSERR_NOERROR;
        }
        default:
            return msg >= DRV_USER ? MMSYSERR_NOTSUPPORTED : 0;
        }
    }
};

} // namespace

TEST(Mp3Decoding, WhatTheCodecLeavesIsOfferedAgainOnTheSameHeader)
{
    HACMDRIVERID id = nullptr;
    ASSERT_EQ(acmDriverAddW(&id, GetModuleHandleW(nullptr), reinterpret_cast<LPARAM>(&LookAheadCodec::Proc), 0,
                            ACM_DRIVERADDF_FUNCTION | ACM_DRIVERADDF_LOCAL),
              MMSYSERR_NOERROR);
    HACMDRIVER driver = nullptr;
    ASSERT_EQ(acmDriverOpen(&driver, id, 0), MMSYSERR_NOERROR);
    for (const char* name : {"vbr.mp3", "cbr.mp3"}) {
        FileReader file;
        ASSERT_TRUE(file.Open(MediaPath(name).c_str())) << name;
        const auto whole = file.ReadAll();
        const std::span<const std::uint8_t> bytes = whole;
        const auto info = ScanFrames(bytes);
        ASSERT_TRUE(info) << name;
        AcmDecoder decoder;
        ASSERT_TRUE(decoder.Open(info->First, driver)) << name;
        LookAheadCodec::Converts = 0;
        std::vector<std::uint8_t> pcm;
        const std::size_t count = info->Offsets.size();
        for (std::size_t i = 0; i < count; i += AcmDecoder::MaxFramesPerCall)
            DecodeFrames(decoder, bytes, 0, *info, i, std::min(count, i + AcmDecoder::MaxFramesPerCall), pcm);
        // Every frame but the last, which no next frame follows.
        EXPECT_EQ(pcm.size(), (count - 1) * 1152 * 4) << name;
        EXPECT_EQ(decoder.StreamsOpened(), 1) << name;
        EXPECT_GT(LookAheadCodec::Converts, 0) << name;
    }
    acmDriverClose(driver, 0);
    acmDriverRemove(id, 0);
}

TEST(Mp3Decoding, VariableAndPaddedFramesDecodeWholeWithoutReopeningTheCodec)
{
    for (const char* name : {"vbr.mp3", "cbr.mp3"}) {
        FileReader file;
        ASSERT_TRUE(file.Open(MediaPath(name).c_str())) << name << " (made by make_mp3_media.sh)";
        const auto whole = file.ReadAll();
        const std::span<const std::uint8_t> bytes = whole;
        const auto info = ScanFrames(bytes);
        ASSERT_TRUE(info) << name;
        // What makes the files worth decoding: frames of unequal sizes.
        std::size_t padded = 0;
        for (std::uint32_t at : info->Offsets)
            padded += ParseFrameHeader(bytes.subspan(at, 4))->Padding;
        if (std::string(name) == "vbr.mp3")
            EXPECT_TRUE(info->VariableRate);
        else
            EXPECT_GT(padded, info->Offsets.size() / 4) << name;

        FrameSource source;
        source.SetFile(&file, &*info);
        ASSERT_TRUE(source.Start(0)) << name;
        std::vector<std::uint8_t> out(50000);
        std::size_t total = 0;
        for (std::size_t n; (n = source.Read(out.data(), out.size())) > 0;)
            total += n;
        const std::size_t frameBytes = std::size_t(info->First.SamplesPerFrame()) * info->First.Channels() * 2;
        EXPECT_NEAR(double(total), double(info->Offsets.size() * frameBytes), double(frameBytes)) << name;
        EXPECT_EQ(source.Decoder().StreamsOpened(), 1) << name << ": the codec was opened again";
        EXPECT_FALSE(source.ReadFailed()) << name;
    }
}

// The playing thread over a fake device and numbered frames, with a piece set.
struct Mp3PlayingThread : ::testing::Test {
    Mp3PlayingThread() { player.SetPiece(&info); }
    const StreamInfo info = test::Piece(3000);
    test::FakeWaveOutput device;
    test::NumberedFrames source{info};
    WavePlayer player{device, source};
};

// The device's thread hands buffers back as fast as it can while the
// caller goes through every call, again and again: no call may wait for
// ever on the playing thread, none may use the device wrongly, and each
// call still acts only in its own states.
TEST_F(Mp3PlayingThread, CallsRacingTheDoneSignals)
{
    std::atomic<bool> running{true};
    std::thread plays([&] {
        while (running)
            if (device.Complete(1) == 0)
                std::this_thread::yield();
    });
    std::uint32_t at = 0;
    for (int round = 0; round < 150; ++round) {
        ASSERT_TRUE(player.Play()) << round;
        EXPECT_FALSE(player.Play()) << round;
        EXPECT_EQ(player.State(nullptr), PlayState::Playing) << round;
        player.Seek(30);
        player.Pause();
        EXPECT_FALSE(player.Play()) << round;
        player.Seek(40);
        EXPECT_EQ(player.State(&at), PlayState::Paused) << round;
        EXPECT_EQ(at, 40u) << round;
        ASSERT_TRUE(player.Restart()) << round;
        EXPECT_FALSE(player.Restart()) << round;
        if (round % 3 == 0)
            player.SetPiece(&info); // opening the file again while it plays
        else if (round % 3 == 1)
            player.Stop();
        else
            player.Seek(3600); // past the end: the thread stops the piece itself
        EXPECT_TRUE(WaitFor([&] { return player.State(nullptr) == PlayState::Stopped; })) << round;
        EXPECT_EQ(player.State(&at), PlayState::Stopped);
        EXPECT_EQ(at, 0u);
    }
    running = false;
    plays.join();
    EXPECT_EQ(device.Misuse(), "");
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(Mp3PlayingThread, ASecondPlayLeavesTheThreadRefilling)
{
    ASSERT_TRUE(player.Play());
    EXPECT_FALSE(player.Play());
    // Far more buffers than were queued at the second play, each refilled.
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(device.Complete(1), 1) << i;
        ASSERT_TRUE(WaitFor([&] { return device.Queued() == PlayerCore::BufferCount; })) << "not refilled after " << i;
    }
    std::uint32_t at = 0;
    EXPECT_EQ(player.State(&at), PlayState::Playing);
    EXPECT_EQ(at, 20u * PlayerCore::SamplesPerBuffer / 44100);
    const auto pcm = device.TakeHeard();
    ASSERT_EQ(pcm.size(), 20 * PlayerCore::SamplesPerBuffer * 4);
    EXPECT_EQ(pcm[pcm.size() - 2], 20 * 12 - 1) << "every frame once, in order";
    player.Stop();
    EXPECT_EQ(device.Misuse(), "");
}
