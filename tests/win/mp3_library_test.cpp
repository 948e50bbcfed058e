#include <gtest/gtest.h>

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
