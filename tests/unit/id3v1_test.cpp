#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ltmp3/id3v1.h"
#include "ltmp3/ltmp3_records.h"
#include "ltmp3/volume.h"

using namespace ltmp3;

TEST(Id3v1, ShiftJisRoundTripThroughTheRecord)
{
    Ltmp3TagInfo in{};
    std::strcpy(in.Title, "夜明けの歌");
    std::strcpy(in.Artist, "山田 太郎");
    std::strcpy(in.Album, "アルバム ");
    std::strcpy(in.Year, "1999");
    std::strcpy(in.Comment, "ｺﾒﾝﾄ");
    in.Genre = 13;

    std::vector<std::uint8_t> file(300, 0xAA); // audio stays as it was
    const auto bytes = WriteId3v1(TagFromRecord(in));
    file.insert(file.end(), bytes.begin(), bytes.end());
    auto tag = ReadId3v1(file);
    ASSERT_TRUE(tag);
    Ltmp3TagInfo out{};
    TagToRecord(*tag, out);
    EXPECT_STREQ(out.Title, "夜明けの歌");
    EXPECT_STREQ(out.Artist, "山田 太郎");
    EXPECT_STREQ(out.Album, "アルバム") << "trailing blanks dropped";
    EXPECT_STREQ(out.Year, "1999");
    EXPECT_STREQ(out.Comment, "ｺﾒﾝﾄ");
    EXPECT_EQ(out.Genre, 13);
    EXPECT_STREQ(out.GenreName, "Pop");
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
    EXPECT_EQ(tag->Title, t.Title);
    EXPECT_EQ(tag->Artist, "A" + t.Title.substr(0, 28));
    EXPECT_EQ(tag->Track, 7);
    EXPECT_EQ(tag->Comment, t.Comment);

    std::array<std::uint8_t, Id3v1Bytes> halfCharacter = WriteId3v1(t);
    halfCharacter[93] = ' ';
    halfCharacter[94] = 0x93; // a lead byte whose trail byte is missing
    EXPECT_EQ(ReadId3v1(halfCharacter)->Year, "");

    t.Comment += "90"; // a full comment wins over the track
    tag = ReadId3v1(WriteId3v1(t));
    EXPECT_EQ(tag->Comment, t.Comment);
    EXPECT_EQ(tag->Track, 0);
}

TEST(Id3v1, NoTagAndGenres)
{
    std::vector<std::uint8_t> noTag(200, 0);
    EXPECT_FALSE(ReadId3v1(noTag));
    EXPECT_FALSE(ReadId3v1(std::vector<std::uint8_t>{'T', 'A', 'G'}));
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(79), "Hard Rock");
    EXPECT_EQ(GenreName(255), "");
    EXPECT_EQ(GenreName(-1), "");
}

TEST(Ltmp3Volume, PercentToWaveOutWord)
{
    EXPECT_EQ(VolumeWord(100, 100), 0xFFFFFFFFu);
    EXPECT_EQ(VolumeWord(0, 0), 0u);
    EXPECT_EQ(VolumeWord(25, 50), (32767u << 16) | 16383u);
    EXPECT_EQ(VolumeWord(-5, 130), 0xFFFF0000u);
}
