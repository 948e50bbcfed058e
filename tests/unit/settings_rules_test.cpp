#include "core/settings_rules.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

// Reads every key the way the profile functions do: the file's value or the
// key's default, cut to the key's read limit.
Settings Load(const std::map<std::string, std::string>& file, Settings s = {})
{
    for (const SettingKey& key : SettingKeys()) {
        const auto found = file.find(key.Key);
        ApplySetting(s, key, CutToReadLimit(found != file.end() ? found->second : key.Default, key.ReadLimit));
    }
    return s;
}

TEST(SettingsRules, ReadConversions)
{
    using Get = std::function<long long(const Settings&)>;
    const Get xpos = [](const Settings& s) { return s.XPos; };
    const Get italic = [](const Settings& s) { return s.FontItalic; };
    const Get size = [](const Settings& s) { return s.FontSize; };
    struct Row {
        const char* key;
        std::string value;
        Get field;
        long long expected;
    };
    const std::vector<Row> rows = {
        {"XPos", "12.5", xpos, 12},
        {"XPos", "13.5", xpos, 14},
        {"XPos", " -7px", xpos, -7},
        {"XPos", "abc", xpos, 0},
        {"XPos", "99999999999", xpos, 2147483647},
        {"MidiDevice", "40000", [](const Settings& s) { return s.MidiDevice; }, 32767},
        {"FontSize", "14", size, 14},
        {"FontSize", "9pt", size, 11}, // not a number: the default stays
        {"FontItalic", "1", italic, 1},
        {"FontItalic", "2", italic, 0},
        {"FontBold", "1", [](const Settings& s) { return s.FontBold; }, 1},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Settings s = Load({{rows[r].key, rows[r].value}});
        EXPECT_EQ(rows[r].field(s), rows[r].expected) << "row " << r << ": " << rows[r].key << "=" << rows[r].value;
    }
}

TEST(SettingsRules, MissingKeysGiveTheReadDefaults)
{
    const Settings s = Load({}, Settings{9, 9, 9, 9, 9, 9, 9, 9, 9, "x", 9, true, true, 9});
    EXPECT_EQ(std::tie(s.XPos, s.YPos, s.XStart, s.YStart, s.XEnd, s.YEnd, s.Visible, s.MidiDevice, s.ErrorWait,
                       s.FontName, s.FontSize, s.FontItalic, s.FontBold, s.Volume),
              std::make_tuple(0, 0, 0, 0, 4695, 0, 1, -1, 0, "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9"s /* "ＭＳ 明朝" */,
                              11, false, false, 100));
}

TEST(SettingsRules, FontNameIsTrimmedAndBufferTailIgnored)
{
    EXPECT_EQ(Load({{"FontName", "Arial  "}}).FontName, "Arial");
    Settings s;
    ApplySetting(s, SettingKeys().at(0), "42\0     "s); // XPos from a blank-filled buffer
    EXPECT_EQ(s.XPos, 42);
}

TEST(SettingsRules, DefaultFileAndFilter)
{
    const std::string file = DefaultSettingsFile();
    ASSERT_EQ(file.size(), 80u);
    EXPECT_EQ(file.substr(0, 18), "[System]\r\nXPos=0\r\n");
    EXPECT_NE(file.find("\r\nXEnd=354\r\n"), std::string::npos);
    EXPECT_EQ(file.substr(64), "Visible=1\r\n\r\n\0\0\0"s);

    const std::string filter = OpenDialogFilter();
    EXPECT_EQ(filter.rfind("\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9|*.*|", 0), 0u); // 全てのﾌｧｲﾙ
    EXPECT_EQ(filter.substr(filter.size() - 7), "|*.avi|");
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 10);
}

} // namespace
} // namespace lt
