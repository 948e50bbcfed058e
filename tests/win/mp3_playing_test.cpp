// The library's decoding against the platform's codec, and its playing
// thread against a fake device that the test plays.
#include <gtest/gtest.h>

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

} // namespace

TEST(Mp3Decoding, VariableAndPaddedFramesDecodeWholeWithoutReopeningTheCodec)
{
    for (const char* name : {"vbr.mp3", "cbr.mp3"}) {
        FileReader file;
        ASSERT_TRUE(file.Open(MediaPath(name).c_str())) << name << " (made by make_mp3_media.sh)";
        const auto bytes = file.ReadAll();
        const auto info = ScanFrames(bytes);
        ASSERT_TRUE(info) << name;
        // What makes the files worth decoding: frames of unequal sizes.
        std::size_t padded = 0;
        for (std::uint32_t at : info->Offsets)
            padded += ParseFrameHeader(std::span(bytes).subspan(at, 4))->Padding;
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

// The device's thread hands buffers back as fast as it can while the
// caller goes through every call, again and again: no call may wait for
// ever on the playing thread, none may use the device wrongly, and each
// call still acts only in its own states.
TEST(Mp3PlayingThread, CallsRacingTheDoneSignals)
{
    const StreamInfo info = test::Piece(3000);
    test::FakeWaveOutput device;
    test::NumberedFrames source(info);
    WavePlayer player(device, source);
    player.SetPiece(&info);
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

TEST(Mp3PlayingThread, ASecondPlayLeavesTheThreadRefilling)
{
    const StreamInfo info = test::Piece(3000);
    test::FakeWaveOutput device;
    test::NumberedFrames source(info);
    WavePlayer player(device, source);
    player.SetPiece(&info);
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
    player.Stop();
    EXPECT_EQ(device.Misuse(), "");
}
