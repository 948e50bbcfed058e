#include <gtest/gtest.h>

#include <vector>

#include "ltmp3/mpeg_frames.h"

using namespace ltmp3;

namespace {

// Header bytes for a layer 3 frame. version: 1 or 2; mode 3 is mono.
std::vector<std::uint8_t> Header(int version, int rateIndex, int sampleIndex, bool padding, int mode)
{
    const std::uint8_t b1 = version == 1 ? 0xFB : 0xF3; // layer 3, no CRC
    return {0xFF, b1, static_cast<std::uint8_t>(rateIndex << 4 | sampleIndex << 2 | (padding ? 2 : 0)),
            static_cast<std::uint8_t>(mode << 6)};
}

// A frame of the right length: its header, then silence.
void AddFrame(std::vector<std::uint8_t>& file, int version, int rateIndex, bool padding = false)
{
    auto h = Header(version, rateIndex, 0, padding, 1);
    const int bytes = ParseFrameHeader(h)->FrameBytes();
    file.insert(file.end(), h.begin(), h.end());
    file.insert(file.end(), bytes - 4, 0);
}

} // namespace

TEST(MpegFrames, HeaderTable)
{
    struct Row {
        int Version, RateIndex, SampleIndex;
        bool Padding;
        int Mode;
        int BitRate, SampleRate, Channels, FrameBytes;
    } rows[] = {
        {1, 9, 0, false, 1, 128, 44100, 2, 417},  {1, 9, 0, true, 1, 128, 44100, 2, 418},
        {1, 14, 1, false, 0, 320, 48000, 2, 960}, {1, 1, 2, false, 3, 32, 32000, 1, 144},
        {1, 14, 2, true, 3, 320, 32000, 1, 1441}, {2, 1, 0, false, 3, 8, 22050, 1, 26},
        {2, 8, 1, false, 1, 64, 24000, 2, 192},   {2, 14, 2, true, 2, 160, 16000, 2, 721},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("version " + std::to_string(r.Version) + " index " + std::to_string(r.RateIndex));
        auto h = ParseFrameHeader(Header(r.Version, r.RateIndex, r.SampleIndex, r.Padding, r.Mode));
        ASSERT_TRUE(h);
        EXPECT_EQ(h->BitRate, r.BitRate);
        EXPECT_EQ(h->SampleRate, r.SampleRate);
        EXPECT_EQ(h->Channels(), r.Channels);
        EXPECT_EQ(h->FrameBytes(), r.FrameBytes);
        EXPECT_EQ(h->SamplesPerFrame(), r.Version == 1 ? 1152 : 576);
    }
}

TEST(MpegFrames, EveryBitRateIndexRisesAndTheReservedOnesAreRefused)
{
    const std::pair<int, int> reserved[] = {{0, 0}, {15, 0}, {9, 3}}; // free format, bad bit rate, bad sample rate
    for (int version : {1, 2}) {
        int previous = 0;
        for (int index = 1; index <= 14; ++index) {
            auto h = ParseFrameHeader(Header(version, index, 0, false, 1));
            ASSERT_TRUE(h && h->BitRate > previous) << version << "/" << index;
            previous = h->BitRate;
        }
        EXPECT_EQ(previous, version == 1 ? 320 : 160);
        for (auto [rate, sample] : reserved)
            EXPECT_FALSE(ParseFrameHeader(Header(version, rate, sample, false, 1))) << rate << "/" << sample;
    }
    EXPECT_FALSE(ParseFrameHeader(std::vector<std::uint8_t>{0xFF, 0xFD, 0x90, 0x40})) << "layer 2";
    EXPECT_FALSE(ParseFrameHeader(std::vector<std::uint8_t>{0xFF, 0xFB, 0x90})) << "short";
}

TEST(MpegFrames, ScanSkipsTagsJunkAndTruncatedFrames)
{
    std::vector<std::uint8_t> file = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 20}; // 20 bytes of tag body
    file.insert(file.end(), 20, 0);
    file.insert(file.end(), {0xFF, 0xFB, 0x00, 0x12, 0xFF, 0xFB}); // junk that looks like sync
    const std::size_t firstFrame = file.size();
    for (int i = 0; i < 40; ++i)
        AddFrame(file, 1, 9, i % 3 == 0);
    std::vector<std::uint8_t> truncated = file;
    AddFrame(truncated, 1, 9);
    truncated.resize(truncated.size() - 100);
    std::vector<std::uint8_t> tagged = file;
    tagged.insert(tagged.end(), {'T', 'A', 'G'});
    tagged.insert(tagged.end(), 125, 0xFF); // 0xFF bytes must not read as frames

    for (const auto* f : {&file, &truncated, &tagged}) {
        auto info = ScanFrames(*f);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->Offsets.size(), 40u);
        EXPECT_EQ(info->Offsets.front(), firstFrame);
        EXPECT_FALSE(info->VariableRate);
        EXPECT_EQ(info->Seconds(), 40u * 1152 / 44100); // 1 s
        EXPECT_EQ(info->AverageBitRate(), 128);
    }
}

TEST(MpegFrames, VariableRateDamageAndEmptyFiles)
{
    std::vector<std::uint8_t> file;
    for (int i = 0; i < 100; ++i)
        AddFrame(file, 1, i < 50 ? 9 : 14); // 128 then 320 kbit/s
    // Damage in the middle: the scan carries on at the next good frame.
    std::vector<std::uint8_t> damaged(file.begin(), file.begin() + 417 * 10);
    damaged.insert(damaged.end(), 333, 0x55);
    damaged.insert(damaged.end(), file.begin() + 417 * 10, file.end());

    auto info = ScanFrames(file);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->VariableRate);
    EXPECT_EQ(info->AverageBitRate(), 224);
    auto damagedInfo = ScanFrames(damaged);
    ASSERT_TRUE(damagedInfo);
    EXPECT_EQ(damagedInfo->Offsets.size(), 100u);
    EXPECT_EQ(damagedInfo->Offsets[10], 417u * 10 + 333);

    const std::vector<std::uint8_t> none(5000, 0), tagPastEnd = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    EXPECT_FALSE(ScanFrames(none));
    EXPECT_FALSE(ScanFrames(tagPastEnd));
    EXPECT_FALSE(ScanFrames({}));
}

TEST(MpegFrames, SecondsToFrames)
{
    std::vector<std::uint8_t> mpeg1, mpeg2;
    for (int i = 0; i < 400; ++i) {
        AddFrame(mpeg1, 1, 9);
        AddFrame(mpeg2, 2, 8);
    }
    auto a = ScanFrames(mpeg1), b = ScanFrames(mpeg2);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(FrameForSecond(0, *a), 0u);
    EXPECT_EQ(FrameForSecond(5, *a), 191u); // 5 x 44100 / 1152 = 191.4
    EXPECT_EQ(FrameForSecond(5, *b), 191u); // 5 x 22050 / 576
    EXPECT_EQ(FrameForSecond(11, *a), 400u) << "past the end";
    EXPECT_EQ(a->Seconds(), 10u);
}
