#include "movie/movie_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(MovieRules, FieldsAndFileNames)
{
    struct Field {
        const char* text;
        int n;
        const char* delimiter;
        const char* want;
    };
    const std::vector<Field> fields = {
        {"0 0 320 240", 3, " ", "320"}, {"0 0 320 240", 4, " ", "240"}, {"0 0 320 240", 5, " ", ""},
        {"0 0 320 240", 0, " ", ""},    {"a||b", 2, "|", ""},            {"a||b", 3, "|", "b"},
        {"a, b, c", 2, ", ", "b"},      {"abc", 1, " ", "abc"},          {"", 1, " ", ""},
    };
    for (std::size_t r = 0; r < fields.size(); ++r)
        EXPECT_EQ(GetField(fields[r].text, fields[r].n, fields[r].delimiter), fields[r].want) << "row " << r;

    // "表" ends in the byte of a backslash; it is no separator.
    const std::vector<std::pair<const char*, const char*>> names = {
        {"C:\\m\\a b.avi", "a b.avi"}, {"a.avi", ""}, {"C:\\m\\", ""}, {"C:\\表.avi", "表.avi"}, {"表.avi", ""},
    };
    for (const auto& [path, want] : names)
        EXPECT_EQ(FileNameOf(path), want) << path;
}

TEST(MovieRules, SizesAndOpenTargets)
{
    struct Row {
        const char* reply;
        int w, h;
    };
    // Top-down frames report a negative height.
    for (const Row& r : {Row{"0 0 320 240", 327, 331}, Row{"0 0 160 -120", 167, 211}, Row{"", 7, 91}}) {
        FrameSize s = MovieWindowSize(ParseSourceRect(r.reply));
        EXPECT_EQ(s.Width, r.w) << r.reply;
        EXPECT_EQ(s.Height, r.h) << r.reply;
    }
    EXPECT_EQ(OpenTarget("C:\\a.avi", ""), "C:\\a.avi");
    EXPECT_EQ(OpenTarget("C:\\a b.avi", "C:\\AB~1.AVI"), "C:\\AB~1.AVI");
    EXPECT_EQ(OpenTarget("C:\\a b.avi", ""), "\"C:\\a b.avi\"");
    EXPECT_EQ(OpenTarget("C:\\a b.avi", "C:\\a b.avi"), "\"C:\\a b.avi\"");
    EXPECT_EQ(SpeedCaption(1000), "100％");
    EXPECT_EQ(SpeedCaption(2500), "250％");
}

TEST(MovieRules, PositionBarScale)
{
    struct Row {
        std::int32_t length;
        int max;
        double frame;
        int bar;
        int barBack;
        std::int32_t frameBack;
    };
    // Short movies map frame to bar one to one (the end seeks to the last
    // frame); long ones are scaled onto 0..32767.
    const std::vector<Row> rows = {
        {20, 20, 7, 7, 20, 19},           {20, 20, 25, 20, 0, 0},          {0, 0, 5, 0, 3, 0},
        {100000, 32767, 50000, 16384, 32767, 99999}, {100000, 32767, 100000, 32767, 16384, 50002},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        PositionScale s{rows[r].length};
        EXPECT_EQ(s.BarMax(), rows[r].max) << "row " << r;
        EXPECT_EQ(s.ToBar(rows[r].frame), rows[r].bar) << "row " << r;
        EXPECT_EQ(s.ToFrame(rows[r].barBack), rows[r].frameBack) << "row " << r;
    }
    EXPECT_TRUE(AtEnd(19, 20));
    EXPECT_TRUE(AtEnd(20, 20));
    EXPECT_FALSE(AtEnd(18, 20));
    EXPECT_FALSE(AtEnd(0, 0));
}

TEST(MovieRules, LayoutFollowsTheClientArea)
{
    const MovieLayout l = LayoutMovie(320, 285);
    const std::vector<int> got = {l.PicAvi.Top,  l.PicAvi.Width, l.PicAvi.Height, l.SclPos.Left, l.SclPos.Top,
                                  l.SclPos.Width, l.LaRader.Top, l.SpScroll.Width, l.LineEnd};
    EXPECT_EQ(got, (std::vector<int>{24, 320, 240, 80, 268, 240, 270, 228, 320}));
    EXPECT_EQ(LayoutMovie(10, 20).PicAvi.Height, 0);
}

} // namespace
} // namespace lt
