#include "core/settings_rules.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

// Reads every key the way the profile functions do: the file's value or the
// key's default, cut to the key's read limit.
Settings Load(const std::map<std::string, std::string>& file, Settings s = {}) {
    for (const SettingKey& key : SettingKeys()) {
        const auto found = file.find(key.Key);
        const std::string value = found != file.end() ? found->second : key.Default;
        ApplySetting(s, key, CutToReadLimit(value, key.ReadLimit));
    }
    return s;
}

TEST(SettingsRules, ReadConversions) {
    using Get = std::function<long long(const Settings&)>;
    const Get xpos = [](const Settings& s) { return s.XPos; };
    struct Row { const char* key; std::string value; Get field; long long expected; };
    const std::vector<Row> rows = {
        {"XPos", "12.5", xpos, 12},
        {"XPos", "13.5", xpos, 14},
        {"XPos", " -7px", xpos, -7},
        {"XPos", "", xpos, 0},
        {"XPos", "abc", xpos, 0},
        {"XPos", "99999999999", xpos, 2147483647},
        {"XEnd", "354", [](const Settings& s) { return s.XEnd; }, 354},
        {"Visible", "-1", [](const Settings& s) { return s.Visible; }, -1},
        {"MidiDevice", "40000", [](const Settings& s) { return s.MidiDevice; }, 32767},
        {"Volume", "1000", [](const Settings& s) { return s.Volume; }, 100},
        {"Volume", "55", [](const Settings& s) { return s.Volume; }, 55},
        {"FontSize", "14", [](const Settings& s) { return s.FontSize; }, 14},
        {"FontSize", "abc", [](const Settings& s) { return s.FontSize; }, 11},
        {"FontSize", "9pt", [](const Settings& s) { return s.FontSize; }, 11},
        {"FontItalic", "1", [](const Settings& s) { return s.FontItalic; }, 1},
        {"FontItalic", "2", [](const Settings& s) { return s.FontItalic; }, 0},
        {"FontItalic", "x", [](const Settings& s) { return s.FontItalic; }, 0},
        {"FontBold", "1", [](const Settings& s) { return s.FontBold; }, 1},
        {"FontBold", "11", [](const Settings& s) { return s.FontBold; }, 0},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Settings s = Load({{rows[r].key, rows[r].value}});
        EXPECT_EQ(rows[r].field(s), rows[r].expected) << "row " << r << ": " << rows[r].key << "=" << rows[r].value;
    }
}

TEST(SettingsRules, MissingKeysGiveTheRecordDefaults) {
    Settings scrambled;
    scrambled.XEnd = 1;
    scrambled.Visible = 0;
    scrambled.MidiDevice = 3;
    scrambled.FontName = "x";
    scrambled.FontSize = 1;
    scrambled.FontItalic = scrambled.FontBold = true;
    scrambled.Volume = 0;
    const Settings s = Load({}, scrambled);
    const Settings d;
    EXPECT_EQ(s.XEnd, 4695);
    EXPECT_EQ(s.Visible, d.Visible);
    EXPECT_EQ(s.MidiDevice, -1);
    EXPECT_EQ(s.FontName, d.FontName);
    EXPECT_EQ(s.FontSize, 11);
    EXPECT_FALSE(s.FontItalic || s.FontBold);
    EXPECT_EQ(s.Volume, 100);
}

TEST(SettingsRules, FontNameIsTrimmedAndBufferTailIgnored) {
    EXPECT_EQ(Load({{"FontName", "Arial  "}}).FontName, "Arial");
    Settings s;
    ApplySetting(s, SettingKeys().at(0), "42\0     "s); // XPos from a blank-filled buffer
    EXPECT_EQ(s.XPos, 42);
}

TEST(SettingsRules, CutToReadLimit) {
    EXPECT_EQ(CutToReadLimit("1000", 4), "100");
    EXPECT_EQ(CutToReadLimit("ab", 4), "ab");
    EXPECT_EQ(CutToReadLimit("a\x82\xa0\x82\xa0", 4), "a\x82\xa0");   // aああ
    EXPECT_EQ(CutToReadLimit("\x82\xa0\x82\xa0", 4), "\x82\xa0");     // no half character
    EXPECT_EQ(CutToReadLimit("abc", 0), "");
}

TEST(SettingsRules, DefaultFileAndFilter) {
    const std::string file = DefaultSettingsFile();
    ASSERT_EQ(file.size(), 80u);
    EXPECT_EQ(file.substr(0, 18), "[System]\r\nXPos=0\r\n");
    EXPECT_NE(file.find("\r\nXEnd=354\r\n"), std::string::npos);
    EXPECT_EQ(file.substr(64), "Visible=1\r\n\r\n\0\0\0"s);
    EXPECT_EQ(Load({{"XEnd", "354"}, {"Visible", "1"}}).XEnd, 354);

    const std::string filter = OpenDialogFilter();
    EXPECT_EQ(filter.rfind("\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9|*.*|", 0), 0u); // 全てのﾌｧｲﾙ
    EXPECT_NE(filter.find("|*.bmp;*.gif;*.jpg|"), std::string::npos);
    EXPECT_NE(filter.find("|*.mid;*.mp3|"), std::string::npos);
    EXPECT_EQ(filter.substr(filter.size() - 7), "|*.avi|");
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 10);
}

} // namespace
} // namespace lt
