#include "core/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/app_paths.h"
#include "core/path_rules.h"

using namespace lt;
using namespace std::string_literals;

TEST(TextRules, PaddingAndNumbers)
{
    const std::vector<std::tuple<std::string, std::string, std::string>> pads = {
        {"a\0 \0"s, "a", "a"}, {" a b \0"s, " a b", " a b "}, {"a\0b\0"s, "a\0b"s, "a"}, {"  \0"s, "", "  "}};
    for (const auto& [in, trimmed, cut] : pads)
        EXPECT_EQ(std::make_tuple(TrimPadding(in), CutAtNul(in)), std::tie(trimmed, cut)) << in;
    EXPECT_EQ(ZeroPad("7", 4) + ZeroPad("10000", 4), "000710000");

    // text -> leading number, and whether the whole text is that number
    const std::vector<std::tuple<std::string, double, bool>> numbers = {
        {"12.5x", 12.5, false}, {"  -3", -3, true}, {"\t+4 ", 4, true}, {"-.25", -0.25, true}, {"1.2.3", 1.2, false},
        {"1e3", 1, false},      {"abc", 0, false},  {"", 0, false},     {"-", 0, false},       {"- 3", 0, false}};
    for (const auto& [in, leading, whole] : numbers) {
        EXPECT_EQ(LeadingNumber(in), leading) << in;
        EXPECT_EQ(WholeNumber(in), whole ? std::optional(leading) : std::nullopt) << in;
    }
    // Correctly rounded (ties to even), however many digits; out of range
    // gives infinity when too large and zero, not infinity, when too small.
    const std::vector<std::pair<std::string, double>> exact = {
        {"0.30000000000000004", 0.1 + 0.2},
        {"9007199254740993", 9007199254740992.0},
        {"123456789012345678901234567890.5", 1.2345678901234568e29},
        {"1" + std::string(400, '0'), std::numeric_limits<double>::infinity()},
        {"-0." + std::string(400, '0') + "1", -0.0},
        {"0." + std::string(320, '0') + "1", 1e-321}};
    for (const auto& [in, value] : exact)
        EXPECT_EQ(LeadingNumber(in), value) << in;
    constexpr auto max = std::numeric_limits<std::int64_t>::max(), min = std::numeric_limits<std::int64_t>::min();
    const std::vector<std::pair<double, std::int64_t>> rounding = {
        {12.5, 12},  {13.5, 14},  {-2.5, -2}, {-3.5, -4},  {0.5, 0},     {-0.5, 0},
        {2.4999, 2}, {2.5001, 3}, {-0.6, -1}, {1e30, max}, {-1e30, min}, {std::nan(""), 0}};
    for (const auto& [in, out] : rounding)
        EXPECT_EQ(RoundHalfEven(in), out) << in;
}

// Trail bytes of double-byte characters may look like letters or backslashes:
// 表 95 5C, ソ 83 5C, 能 94 5C, 予 97 5C, 十 8F 5C, 申 90 5C, 暴 96 5C, 貼 93 5C.
TEST(TextRules, DoubleByteCharactersStayWhole)
{
    EXPECT_EQ(AsciiUpper("abc.m3u\x83\x61\x62\xe0\x7a\x7a\xb1\x61\x83"), "ABC.M3U\x83\x61\x42\xe0\x7a\x5a\xb1\x41\x83");
    const std::vector<std::pair<std::string, bool>> m3u = {
        {"C:\\a\\song.M3u", true}, {"m3u", true}, {"list.m3u8", false}, {"3u", false}, {"C:\\\x83\x6d\x33\x75", false},
        {"C:\\\x83\x5cm3u", true}};
    for (const auto& [path, is] : m3u)
        EXPECT_EQ(EndsWithNoCase(path, "M3U"), is) << path;

    for (const std::string c : {"表", "ソ", "能", "予", "十", "申", "暴", "貼"}) {
        const std::string folder = "C:\\" + c;
        EXPECT_FALSE(EndsWithSeparator(folder)) << folder;
        EXPECT_EQ(WithTrailingSeparator(folder) + WithTrailingSeparator(folder + "\\"), folder + "\\" + folder + "\\");
        EXPECT_EQ(WithoutTrailingSeparators(folder + "\\\\") + WithoutTrailingSeparators(folder), folder + folder);
        EXPECT_EQ(FolderPrefix(folder + "\\" + c + ".exe") + FolderPrefix(folder), folder + "\\C:\\");
        EXPECT_EQ(LastSeparator(c + c), std::string::npos);
    }
    EXPECT_TRUE(EndsWithSeparator("C:\\") && !EndsWithSeparator(""));
    EXPECT_EQ(LastSeparator("C:a", "\\:"), 1u);
}

TEST(PathRules, HomeIsTheWindowsFolderWhileItTakesFiles)
{
    const std::string windows = "C:\\表";
    EXPECT_EQ(ChooseHome(windows, true, "C:\\Users\\u\\AppData"), windows);
    EXPECT_EQ(ChooseHome(windows + "\\", true, ""), windows);
    EXPECT_EQ(ChooseHome(windows, false, "C:\\Users\\ソ"), "C:\\Users\\ソ\\Lumatrove");
    EXPECT_EQ(ChooseHome(windows, false, "C:\\AppData\\"), "C:\\AppData\\Lumatrove");
    EXPECT_EQ(ChooseHome(windows, false, ""), windows) << "no per-user folder: nothing better to use";

    const AppPaths p = BuildAppPaths("C:\\WINDOWS\\", "C:\\ソフト\\表.exe", windows);
    EXPECT_EQ(p.WindowsDir + "|" + p.ProgramDir, "C:\\WINDOWS|C:\\ソフト\\");
    EXPECT_EQ(p.SettingsFile + p.QueueFile + p.Mp3Library,
              windows + "\\Lumatrove.ini" + windows + "\\LTDummy.ini" + windows + "\\ltmp3.dll");
    EXPECT_EQ(BuildAppPaths("C:\\", "lumatrove.exe", "C:\\").SettingsFile, "C:\\Lumatrove.ini");
}
