#include "core/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/app_paths.h"
#include "core/path_rules.h"

using namespace std::string_literals;

namespace lt {
namespace {

TEST(TextRules, PaddingAndNumbers)
{
    struct Pad {
        std::string in, trimmed, cut;
    };
    for (const Pad& r : std::vector<Pad>{{"a\0 \0"s, "a", "a"},
                                         {" a b \0"s, " a b", " a b "},
                                         {"a\0b\0"s, "a\0b"s, "a"},
                                         {"  \0"s, "", "  "},
                                         {"", "", ""}}) {
        EXPECT_EQ(TrimPadding(r.in), r.trimmed) << r.in;
        EXPECT_EQ(CutAtNul(r.in), r.cut) << r.in;
    }
    EXPECT_EQ(ZeroPad("7", 4), "0007");
    EXPECT_EQ(ZeroPad("10000", 4), "10000");

    struct Num {
        std::string in;
        double leading;
        bool whole;
    };
    for (const Num& r : std::vector<Num>{{"12.5x", 12.5, false},
                                         {"  -3", -3, true},
                                         {"\t+4 ", 4, true},
                                         {"-.25", -0.25, true},
                                         {"1.2.3", 1.2, false},
                                         {"1e3", 1, false},
                                         {"abc", 0, false},
                                         {"", 0, false},
                                         {"-", 0, false},
                                         {".", 0, false},
                                         {"- 3", 0, false}}) {
        EXPECT_EQ(LeadingNumber(r.in), r.leading) << r.in;
        EXPECT_EQ(WholeNumber(r.in), r.whole ? std::optional(r.leading) : std::nullopt) << r.in;
    }

    constexpr auto max = std::numeric_limits<std::int64_t>::max(), min = std::numeric_limits<std::int64_t>::min();
    const std::vector<std::pair<double, std::int64_t>> rounding = {
        {12.5, 12},  {13.5, 14},  {-2.5, -2}, {-3.5, -4},  {0.5, 0},     {-0.5, 0},
        {2.4999, 2}, {2.5001, 3}, {-0.6, -1}, {1e30, max}, {-1e30, min}, {std::nan(""), 0}};
    for (const auto& [in, out] : rounding)
        EXPECT_EQ(RoundHalfEven(in), out) << in;
}

// Trail bytes of double-byte characters may look like letters or backslashes.
TEST(TextRules, DoubleByteCharactersStayWhole)
{
    const std::vector<std::pair<std::string, std::string>> upper = {
        {"abc.m3u", "ABC.M3U"},
        {"\x83\x61"s + "b", "\x83\x61"s + "B"},
        {"\xe0\x7a"s + "z", "\xe0\x7a"s + "Z"},
        {"\xb1"s + "a", "\xb1"s + "A"} /* half-width ｱ is one byte */,
        {"a\x83", "A\x83"}};
    for (const auto& [in, out] : upper)
        EXPECT_EQ(AsciiUpper(in), out) << in;

    const std::vector<std::pair<std::string, bool>> m3u = {{"C:\\a\\song.M3u", true},
                                                           {"m3u", true},
                                                           {"list.m3u8", false},
                                                           {"3u", false},
                                                           {"C:\\\x83\x6d"s + "3u", false},
                                                           {"C:\\\x83\x5c"s + "m3u", true}};
    for (const auto& [path, is] : m3u)
        EXPECT_EQ(EndsWithNoCase(path, "M3U"), is) << path;
}

// 表 95 5C, ソ 83 5C, 能 94 5C, 予 97 5C, 十 8F 5C, 申 90 5C, 暴 96 5C, 貼 93 5C:
// each ends in the backslash byte without being one.
TEST(PathRules, TrailBytesAreNoSeparators)
{
    const std::string chars[] = {"\x95\x5c", "\x83\x5c", "\x94\x5c", "\x97\x5c",
                                 "\x8f\x5c", "\x90\x5c", "\x96\x5c", "\x93\x5c"};
    for (const std::string& c : chars) {
        const std::string folder = "C:\\" + c; // C:\表
        EXPECT_FALSE(EndsWithSeparator(folder)) << folder;
        EXPECT_EQ(WithTrailingSeparator(folder), folder + "\\");
        EXPECT_EQ(WithTrailingSeparator(folder + "\\"), folder + "\\");
        EXPECT_EQ(WithoutTrailingSeparators(folder + "\\\\"), folder);
        EXPECT_EQ(WithoutTrailingSeparators(folder), folder);
        EXPECT_EQ(FolderPrefix(folder + "\\" + c + ".exe"), folder + "\\");
        EXPECT_EQ(FolderPrefix(folder), "C:\\");
        EXPECT_EQ(LastSeparator(c + c), std::string::npos);
    }
    EXPECT_TRUE(EndsWithSeparator("C:\\"));
    EXPECT_FALSE(EndsWithSeparator(""));
    EXPECT_EQ(FolderPrefix("x.exe"), "");
    EXPECT_EQ(LastSeparator("C:a", "\\:"), 1u);
}

TEST(PathRules, HomeIsTheWindowsFolderWhileItTakesFiles)
{
    const std::string windows = "C:\\\x95\x5c"; // a Windows folder named 表
    EXPECT_EQ(ChooseHome(windows, true, "C:\\Users\\u\\AppData"), windows);
    EXPECT_EQ(ChooseHome(windows + "\\", true, ""), windows);
    EXPECT_EQ(ChooseHome(windows, false, "C:\\Users\\\x83\x5c"), "C:\\Users\\\x83\x5c\\Lumatrove");
    EXPECT_EQ(ChooseHome(windows, false, "C:\\AppData\\"), "C:\\AppData\\Lumatrove");
    EXPECT_EQ(ChooseHome(windows, false, ""), windows) << "no per-user folder: nothing better to use";

    const AppPaths p = BuildAppPaths("C:\\WINDOWS\\", "C:\\\x83\x5c\x83\x74\x83\x67\\\x95\x5c.exe", windows);
    EXPECT_EQ(p.WindowsDir, "C:\\WINDOWS");
    EXPECT_EQ(p.ProgramDir, "C:\\\x83\x5c\x83\x74\x83\x67\\"); // C:\ソフト\ from C:\ソフト\表.exe
    EXPECT_EQ(p.SettingsFile, windows + "\\Lumatrove.ini");
    EXPECT_EQ(p.QueueFile, windows + "\\LTDummy.ini");
    EXPECT_EQ(p.Mp3Library, windows + "\\ltmp3.dll");
    EXPECT_EQ(BuildAppPaths("C:\\", "lumatrove.exe", "C:\\").SettingsFile, "C:\\Lumatrove.ini");
}

} // namespace
} // namespace lt
