#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "ltmp3/id3v1.h"
#include "ltmp3/ltmp3_records.h"
#include "ltmp3/mpeg_frames.h"
#include "ltmp3/volume.h"

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
    // version, bit rate index, sample rate index, padding, mode -> kbit/s, Hz, channels, bytes
    const std::vector<std::array<int, 9>> rows = {
        {1, 9, 0, 0, 1, 128, 44100, 2, 417},   {1, 9, 0, 1, 1, 128, 44100, 2, 418},
        {1, 14, 1, 0, 0, 320, 48000, 2, 960},  {1, 1, 2, 0, 3, 32, 32000, 1, 144},
        {1, 14, 2, 1, 3, 320, 32000, 1, 1441}, {2, 1, 0, 0, 3, 8, 22050, 1, 26},
        {2, 8, 1, 0, 1, 64, 24000, 2, 192},    {2, 14, 2, 1, 2, 160, 16000, 2, 721}};
    for (const auto& [version, rate, sample, padding, mode, kbits, hz, channels, bytes] : rows) {
        auto h = ParseFrameHeader(Header(version, rate, sample, padding, mode));
        ASSERT_TRUE(h) << version << "/" << rate;
        EXPECT_EQ((std::array{h->BitRate, h->SampleRate, h->Channels(), h->FrameBytes(), h->SamplesPerFrame()}),
                  (std::array{kbits, hz, channels, bytes, version == 1 ? 1152 : 576}))
            << version << "/" << rate;
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
        // 40 frames of 1152 samples at 44.1 kHz: 1 s
        EXPECT_EQ(std::make_tuple(info->Offsets.size(), info->Offsets.front(), info->VariableRate, info->Seconds(),
                                  info->AverageBitRate()),
                  std::make_tuple(40u, firstFrame, false, 1u, 128));
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

    auto info = ScanFrames(file), damagedInfo = ScanFrames(damaged);
    ASSERT_TRUE(info && damagedInfo);
    EXPECT_EQ(std::make_tuple(info->VariableRate, info->AverageBitRate()), std::make_tuple(true, 224));
    EXPECT_EQ(std::make_tuple(damagedInfo->Offsets.size(), damagedInfo->Offsets[10]),
              std::make_tuple(100u, 417u * 10 + 333));

    const std::vector<std::uint8_t> none(5000, 0), tagPastEnd = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    EXPECT_FALSE(ScanFrames(none) || ScanFrames(tagPastEnd) || ScanFrames({}));
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
    // 5 x 44100 / 1152 = 5 x 22050 / 576 = 191.4; 11 s is past the end
    EXPECT_EQ((std::array{FrameForSecond(0, *a), FrameForSecond(5, *a), FrameForSecond(5, *b), FrameForSecond(11, *a)}),
              (std::array<std::size_t, 4>{0, 191, 191, 400}));
}

TEST(Id3v1, ShiftJisRoundTripThroughTheRecord)
{
    Ltmp3TagInfo in{};
    std::strcpy(in.Title, "夜明けの歌"), std::strcpy(in.Artist, "山田 太郎"), std::strcpy(in.Album, "アルバム ");
    std::strcpy(in.Year, "1999"), std::strcpy(in.Comment, "ｺﾒﾝﾄ");
    in.Genre = 13;

    std::vector<std::uint8_t> file(300, 0xAA); // audio stays as it was
    const auto bytes = WriteId3v1(TagFromRecord(in));
    file.insert(file.end(), bytes.begin(), bytes.end());
    auto tag = ReadId3v1(file);
    ASSERT_TRUE(tag);
    Ltmp3TagInfo out{};
    TagToRecord(*tag, out);
    const std::vector<std::string> fields = {out.Title, out.Artist, out.Album, out.Year, out.Comment, out.GenreName};
    EXPECT_EQ(fields, (std::vector<std::string>{"夜明けの歌", "山田 太郎", "アルバム", "1999", "ｺﾒﾝﾄ", "Pop"}))
        << "trailing blanks dropped";
    EXPECT_EQ(out.Genre, 13);
}

TEST(Id3v1, FieldsAreCutOnCharacterBoundaries)
{
    Id3v1Tag t;
    t.Title = "あいうえおかきくけこさしすせそ"; // 15 double-byte characters: 30 bytes
    t.Artist = "A" + t.Title;                   // 31 bytes: the last character does not fit
    t.Comment = "1234567890123456789012345678"; // 28 bytes leave room for the track
    t.Track = 7;
    auto tag = ReadId3v1(WriteId3v1(t));
    ASSERT_TRUE(tag);
    EXPECT_EQ(std::tie(tag->Title, tag->Artist, tag->Comment),
              std::make_tuple(t.Title, "A" + t.Title.substr(0, 28), t.Comment));
    EXPECT_EQ(tag->Track, 7);

    std::array<std::uint8_t, Id3v1Bytes> halfCharacter = WriteId3v1(t);
    halfCharacter[93] = ' ';
    halfCharacter[94] = 0x93; // a lead byte whose trail byte is missing
    EXPECT_EQ(ReadId3v1(halfCharacter)->Year, "");

    t.Comment += "90"; // a full comment wins over the track
    tag = ReadId3v1(WriteId3v1(t));
    EXPECT_EQ(std::make_tuple(tag->Comment, tag->Track), std::make_tuple(t.Comment, 0));
}

TEST(Id3v1, NoTagGenresAndVolume)
{
    EXPECT_FALSE(ReadId3v1(std::vector<std::uint8_t>(200, 0)));
    EXPECT_FALSE(ReadId3v1(std::vector<std::uint8_t>{'T', 'A', 'G'}));
    using Names = std::vector<std::string_view>;
    EXPECT_EQ((Names{GenreName(0), GenreName(79), GenreName(255), GenreName(-1)}),
              (Names{"Blues", "Hard Rock", "", ""}));
    // Percentages to a waveOut volume word, right channel high.
    EXPECT_EQ((std::array{VolumeWord(100, 100), VolumeWord(0, 0), VolumeWord(25, 50), VolumeWord(-5, 130)}),
              (std::array{0xFFFFFFFFu, 0u, 32767u << 16 | 16383u, 0xFFFF0000u}));
}
