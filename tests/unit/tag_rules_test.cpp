#include "music/tag_rules.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(TagRules, YearAndFieldPadding)
{
    struct Case {
        const char* Typed;
        const char* Stored;
    } years[] = {
        {"98abc", "98   "}, {"", "0    "}, {"abc", "0    "}, {"2001", "2001 "}, {"1234567", "12345"}, {" -5", "-5   "},
    };
    for (const Case& c : years)
        EXPECT_EQ(YearField(c.Typed), c.Stored) << "typed '" << c.Typed << "'";

    EXPECT_EQ(PadField("ab", 4), "ab  ");
    EXPECT_EQ(PadField("abcdef", 4), "abcd");
    // A double-byte character that would straddle the end is left out whole.
    EXPECT_EQ(PadField("abc\x82\xa0", 4), "abc ");
    EXPECT_EQ(PadField("ab\x82\xa0", 4), "ab\x82\xa0");
}

TEST(TagRules, FillKeepsGenreAndPadsEveryField)
{
    Ltmp3TagInfo tag{};
    tag.Genre = 17;
    FillTag(tag, "Song", std::string(200, 'x'), "", "98abc", "note");
    EXPECT_EQ(std::string(tag.Title, 6), "Song  ");
    EXPECT_EQ(tag.Title[127], ' ');
    EXPECT_EQ(std::string(tag.Artist, 128), std::string(128, 'x'));
    EXPECT_EQ(std::string(tag.Album, 128), std::string(128, ' '));
    EXPECT_EQ(std::string(tag.Year, 5), "98   ");
    EXPECT_EQ(std::string(tag.Comment, 5), "note ");
    EXPECT_EQ(tag.Genre, 17);
    EXPECT_EQ(FieldText(tag.Year), "98   ");
}

TEST(TagRules, InfoLines)
{
    Ltmp3MpegInfo info{};
    info.Version = 1;
    info.Layer = 3;
    info.BitRate = 128;
    info.SampleRate = 44100;
    info.Channels = 1;
    info.Copyright = 1;
    info.Emphasis = 2;
    const auto lines = MpegInfoLines(info);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0].Text, "MPEG-1 レイヤー 3");
    EXPECT_EQ(lines[3].Text, "出力ﾁｬﾝﾈﾙ ﾓﾉﾗﾙ");
    EXPECT_EQ(lines[7].Y, 106);
    EXPECT_EQ(lines[7].Text, "著作権 有り");
    EXPECT_EQ(lines[11].Text, "ｴﾝﾌｧｼｽ 無し"); // only 1 counts as set
    info.Channels = 2;
    EXPECT_EQ(MpegInfoLines(info)[3].Text, "出力ﾁｬﾝﾈﾙ ｽﾃﾚｵ");
}

} // namespace
} // namespace lt
