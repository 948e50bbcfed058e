#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ltmp3/mpeg_frames.h"
#include "music/mp3_library.h"
#include "music/music_engine.h"
#include "temp_folder.h"

using namespace lt;

namespace {

// Layer 3 frames of silence: each a header, then zeros to its length.
std::string Frames(std::string_view header, int count)
{
    const std::vector<std::uint8_t> h(header.begin(), header.end());
    std::string frame = std::string(header) + std::string(ltmp3::ParseFrameHeader(h)->FrameBytes() - 4, '\0'), out;
    for (int i = 0; i < count; ++i)
        out += frame;
    return out;
}

struct Mp3LibraryTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(lib.Load({test::Mp3DllPath()}) && lib.Init()); }
    void TearDown() override { lib.Close(); }
    Mp3Library lib;
    test::TempFolder dir;
    Ltmp3InputInfo in{};
};

} // namespace

TEST_F(Mp3LibraryTest, StreamInformationAndRefusedFiles)
{
    // 6 s of MPEG-1 128 kbit/s joint stereo at 44.1 kHz, and of MPEG-2 64 kbit/s mono at 22.05 kHz.
    const std::pair<std::string, std::vector<int>> files[] = {
        {dir.Write("a b.mp3", Frames("\xFF\xFB\x90\x40", 230)), {1, 2, 128, 44100, 6, 6}},
        {dir.Write("mono.mp3", Frames("\xFF\xF3\x80\xC0", 230)), {2, 1, 64, 22050, 6, 6}}};
    for (const auto& [path, want] : files) {
        Ltmp3MpegInfo m{};
        ASSERT_EQ(lib.Open(path, in), 1) << path;
        ASSERT_EQ(lib.GetMpegInfo(m), 1);
        EXPECT_EQ((std::vector<int>{m.Version, m.Channels, m.BitRate, m.SampleRate, m.PlayTime, in.PlayTime}), want);
    }
    std::string junk(40000, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 7919 % 251);
    EXPECT_EQ(lib.Open(dir.Write("junk.mp3", junk), in), 0);
    EXPECT_EQ(lib.Open(dir.File("missing.mp3"), in), 0);
}

// The fields themselves are unit-tested; here the file is written and read again.
TEST_F(Mp3LibraryTest, ATagWrittenReadsBackAndLeavesTheAudio)
{
    const std::string audio = Frames("\xFF\xFB\x90\x40", 40), path = dir.Write("tag.mp3", audio);
    ASSERT_EQ(lib.Open(path, in), 1);
    Ltmp3TagInfo t{}, back{};
    std::strcpy(t.Title, "夜明けの歌");
    t.Genre = 13;
    ASSERT_EQ(lib.SetTagInfo(t), 1);
    ASSERT_EQ(lib.Open(path, in), 1);
    ASSERT_EQ(lib.GetTagInfo(back), 1);
    EXPECT_STREQ(back.Title, "夜明けの歌");
    EXPECT_EQ(back.Genre, 13);
    lib.Close();
    const std::string after = test::TempFolder::Read(path);
    EXPECT_EQ(after.size(), audio.size() + 128);
    EXPECT_EQ(after.substr(0, audio.size()), audio);
}

// Every call in every state through the real library and wave device: the
// position shows whether the device is still being fed. With LT_TEST_MP3
// naming a tone and LT_TEST_PHASES set, each phase is named on the output
// and held, so that a listener outside hears it (run_library.py).
TEST_F(Mp3LibraryTest, EveryCallInEveryStateOnTheDevice)
{
    const char* tone = std::getenv("LT_TEST_MP3");
    const bool phases = std::getenv("LT_TEST_PHASES") != nullptr;
    const std::string path = tone ? std::string(tone) : dir.Write("calls.mp3", Frames("\xFF\xFB\x90\x40", 460));
    auto hold = [&](const char* phase, DWORD ms) {
        if (phases) {
            std::printf("phase %s\n", phase);
            std::fflush(stdout);
            ms = 3000;
        }
        Sleep(ms);
    };
    auto state = [&] {
        std::int32_t at = -1;
        const std::int32_t s = lib.GetState(at);
        return std::pair{s, at};
    };
    using P = std::pair<std::int32_t, std::int32_t>;

    // Nothing open.
    EXPECT_EQ(lib.Play(), 0);
    EXPECT_EQ(lib.Restart(), 0);
    lib.Pause();
    lib.Seek(4);
    EXPECT_EQ(state(), (P{0, 0}));
    // Stopped.
    ASSERT_EQ(lib.Open(path, in), 1);
    EXPECT_EQ(lib.Restart(), 0);
    lib.Pause();
    lib.Seek(4);
    EXPECT_EQ(state(), (P{0, 0}));
    // Playing: a second play, or a restart, changes nothing, and the
    // device is still fed long after what was queued at that call.
    ASSERT_EQ(lib.Play(), 1) << "no wave output device here?";
    EXPECT_EQ(lib.Play(), 0);
    EXPECT_EQ(lib.Restart(), 0);
    // A whole second of the position in 1.5 s: the device still plays.
    auto moving = [&] {
        const auto before = state();
        Sleep(1500);
        const auto after = state();
        return after.first == 1 && before.first == 1 && after.second > before.second;
    };
    hold("playing", 2500);
    EXPECT_TRUE(moving()) << "the position stands still after the second play";
    auto [s, at] = state();
    // Paused: play changes nothing, the position holds, a seek moves it.
    lib.Pause();
    std::tie(s, at) = state();
    EXPECT_EQ(s, 2);
    EXPECT_EQ(lib.Play(), 0);
    hold("paused", 600);
    EXPECT_EQ(state(), (P{2, at}));
    lib.Seek(8);
    EXPECT_EQ(state(), (P{2, 8}));
    EXPECT_EQ(lib.Restart(), 1);
    hold("restarted", 1500);
    std::tie(s, at) = state();
    EXPECT_EQ(s, 1);
    EXPECT_GE(at, 8) << "restarted where the seek went";
    lib.Seek(1);
    EXPECT_EQ(state(), (P{1, 1}));
    // Stopped again: back to 0, and only play acts.
    lib.Stop();
    EXPECT_EQ(state(), (P{0, 0}));
    hold("stopped", 300);
    EXPECT_EQ(lib.Restart(), 0);
    lib.Seek(3);
    EXPECT_EQ(state(), (P{0, 0}));
    ASSERT_EQ(lib.Play(), 1);
    hold("played again", 1000);
    EXPECT_TRUE(moving()) << "after a stop, play starts again";
    // Opening again while playing stops; closing while playing too.
    ASSERT_EQ(lib.Open(path, in), 1);
    EXPECT_EQ(state(), (P{0, 0}));
    ASSERT_EQ(lib.Play(), 1);
    lib.Close();
    EXPECT_EQ(state(), (P{0, 0}));
    EXPECT_EQ(lib.Play(), 0);
    hold("closed", 300);
}

// Cut short by another program while it plays: what was read plays out,
// then the piece ends; nothing of it is read through a mapping that would
// fault and end the process.
TEST_F(Mp3LibraryTest, AFileCutShortWhilePlayingEndsThePiece)
{
    const std::string path = dir.Write("cut.mp3", Frames("\xFF\xFB\x90\x40", 460)); // 12 s
    ASSERT_EQ(lib.Open(path, in), 1);
    ASSERT_EQ(lib.Play(), 1) << "no wave output device here?";
    Sleep(400);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    const bool cut = SetEndOfFile(f); // at its start: 0 bytes
    CloseHandle(f);
    ASSERT_TRUE(cut) << "the library keeps others from cutting the file";
    std::int32_t at = -1, s = 1;
    for (int waited = 0; waited < 5000 && (s = lib.GetState(at)) != 0; waited += 50)
        Sleep(50);
    EXPECT_EQ(s, 0) << "still playing at " << at << " s of a file now empty";
    EXPECT_EQ(at, 0);
    EXPECT_EQ(lib.Play(), 0) << "nothing left to play";
    Ltmp3MpegInfo m{};
    EXPECT_EQ(lib.GetMpegInfo(m), 1) << "the file stays open";
}

TEST(MusicEngineOnWine, WaveFormatFromTheDevice)
{
    test::TempFolder dir;
    // 8-bit mono at 11025 Hz, one second of silence, in a folder with a blank.
    std::string wav(
        "RIFF\x35\x2B\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x11\x2B\0\0\x11\x2B\0\0\x01\0\x08\0data\x11\x2B\0\0", 44);
    wav.append(11025, '\x80');
    CreateDirectoryA(dir.File("a b").c_str(), nullptr);
    PlaybackEngine& e = MusicEngine();
    ASSERT_TRUE(e.Open(BackEnd::Wave, dir.Write("a b\\tone.wav", wav)));
    EXPECT_EQ(e.GetWaveStatus("bitspersample"), 8);
    EXPECT_EQ(e.GetWaveStatus("channels"), 1);
    EXPECT_EQ(e.GetWaveStatus("samplespersec"), 11025);
    e.CloseMusic();
    EXPECT_FALSE(e.IsOpen());
}
