#include "dialogs/text_layout.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

// Every byte 10 units wide, so a double-byte character is 20.
int Measure(std::string_view s)
{
    return static_cast<int>(s.size()) * 10;
}

std::vector<std::string> Texts(const std::vector<TextLine>& lines)
{
    std::vector<std::string> out;
    for (const TextLine& l : lines)
        out.push_back(l.Text);
    return out;
}

TEST(TextLayout, CentredStartRoundsHalvesToEven)
{
    EXPECT_EQ(CenteredStart(353, 101), 302);
    EXPECT_EQ(CenteredStart(354, 101), 304);
    EXPECT_EQ(CenteredStart(161, 100), 111);
}

TEST(TextLayout, WrapCases)
{
    using V = std::vector<std::string>;
    struct Case {
        const char* Text;
        TextBox Box;
        V Want;
    } cases[] = {
        {"", {0, 0, 50, 100}, V{""}},
        {"abc", {5, 7, 50, 100}, V{"abc"}},
        {"abcdefgh", {0, 0, 50, 100}, V{"abcde", "fgh"}},
        {"ab\r\ncd", {0, 0, 50, 100}, V{"ab", "cd"}},
        {"ab\r\n", {0, 0, 50, 100}, V{"ab"}},
        {"abcdefghijklmnop", {0, 0, 50, 20}, V{"abcde", "fghij"}}, // stops at the bottom
        {"abc", {0, 0, 5, 30}, V{"", "", ""}},                       // nothing fits
        {"a\x82\xa0\x82\xa0", {0, 0, 40, 100}, V{"a\x82\xa0", "\x82\xa0"}}, // never splits a character
        {"ab\x82", {0, 0, 50, 100}, V{"ab\x82"}},                   // a lone lead byte stays
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto lines = WrapText(cases[i].Text, cases[i].Box, 10, Measure);
        EXPECT_EQ(Texts(lines), cases[i].Want) << "row " << i;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            EXPECT_EQ(lines[n].X, cases[i].Box.Left) << "row " << i;
            EXPECT_EQ(lines[n].Y, cases[i].Box.Top + 10 * static_cast<int>(n)) << "row " << i;
        }
    }
}

TEST(TextLayout, ZeroLineHeightStillEnds)
{
    EXPECT_EQ(WrapText("abc", {0, 0, 5, 3}, 0, Measure).size(), 3u);
}

} // namespace
} // namespace lt
