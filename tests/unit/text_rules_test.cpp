#include "core/text_rules.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

TEST(TextRules, TrimPaddingZeroPadCutAtNul)
{
    struct Row {
        std::string in, trimmed, cut;
    };
    const std::vector<Row> rows = {
        {"a\0 \0"s, "a", "a"}, {" a b \0"s, " a b", " a b "}, {"a\0b\0"s, "a\0b"s, "a"}, {"  \0"s, "", "  "},
        {"", "", ""},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(TrimPadding(rows[r].in), rows[r].trimmed) << "row " << r;
        EXPECT_EQ(CutAtNul(rows[r].in), rows[r].cut) << "row " << r;
    }
    EXPECT_EQ(ZeroPad("7", 4), "0007");
    EXPECT_EQ(ZeroPad("10000", 4), "10000");
}

TEST(TextRules, LeadingAndWholeNumbers)
{
    struct Row {
        std::string in;
        double leading;
        bool whole;
    };
    const std::vector<Row> rows = {
        {"12.5x", 12.5, false}, {"  -3", -3, true}, {"\t+4 ", 4, true}, {"-.25", -0.25, true},
        {"1.2.3", 1.2, false},  {"1e3", 1, false},  {"abc", 0, false},  {"", 0, false},
        {"-", 0, false},        {".", 0, false},    {"- 3", 0, false},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(LeadingNumber(rows[r].in), rows[r].leading) << "row " << r;
        const auto whole = rows[r].whole ? std::optional(rows[r].leading) : std::nullopt;
        EXPECT_EQ(WholeNumber(rows[r].in), whole) << "row " << r;
    }
}

TEST(TextRules, RoundHalfEven)
{
    struct Row {
        double in;
        std::int64_t out;
    };
    const std::vector<Row> rows = {
        {12.5, 12},
        {13.5, 14},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {-0.5, 0},
        {2.4999, 2},
        {2.5001, 3},
        {-0.6, -1},
        {1e30, std::numeric_limits<std::int64_t>::max()},
        {-1e30, std::numeric_limits<std::int64_t>::min()},
        {std::nan(""), 0},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(RoundHalfEven(rows[r].in), rows[r].out) << "row " << r << " value " << rows[r].in;
}

TEST(TextRules, AsciiUpperLeavesDoubleByteCharactersAlone)
{
    struct Row {
        std::string in, out;
    };
    const std::vector<Row> rows = {
        {"abc.m3u", "ABC.M3U"},
        {"\x83\x61"
         "b",
         "\x83\x61"
         "B"}, // trail byte 'a' is not a letter
        {"\xe0\x7a"
         "z",
         "\xe0\x7a"
         "Z"}, // lead byte from the upper range
        {"\xb1"
         "a",
         "\xb1"
         "A"},              // half-width ｱ is a single byte
        {"a\x83", "A\x83"}, // lone lead byte at the end
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(AsciiUpper(rows[r].in), rows[r].out) << "row " << r;
}

TEST(TextRules, EndsWithNoCase)
{
    struct Row {
        std::string path;
        bool m3u;
    };
    const std::vector<Row> rows = {
        {"C:\\a\\song.M3u", true},
        {"m3u", true},
        {"list.m3u8", false},
        {"3u", false},
        {"C:\\\x83\x6d"
         "3u",
         false}, // 'm' is the trail byte of a double-byte character
        {"C:\\\x83\x5c"
         "m3u",
         true},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(EndsWithNoCase(rows[r].path, "M3U"), rows[r].m3u) << "row " << r;
}

} // namespace
} // namespace lt
