#include "core/settings_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace lt;
using namespace std::string_literals;

// Reads every key the way the profile functions do: the file's value or the
// key's default, cut to the key's read limit.
static Settings Load(const std::map<std::string, std::string>& file, Settings s = {})
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
    const Get x = [](const Settings&s) { return s.XPos; }, italic = [](const Settings&s) { return s.FontItalic; },
              size = [](const Settings&s) { return s.FontSize; }, midi = [](const Settings&s) { return s.MidiDevice; },
              volume = [](const Settings&s) { return s.Volume; };
    // Three characters of a volume are read; a font size that is no number keeps its default.
    const std::vector<std::tuple<const char*, std::string, Get, long long>> rows = {
        {"XPos", "12.5", x, 12},
        {"XPos", "13.5", x, 14},
        {"XPos", " -7px", x, -7},
        {"XPos", "abc", x, 0},
        {"XPos", "99999999999", x, 2147483647},
        {"MidiDevice", "40000", midi, 32767},
        {"Volume", "1000", volume, 100},
        {"FontSize", "14", size, 14},
        {"FontSize", "9pt", size, 11},
        {"FontItalic", "1", italic, 1},
        {"FontItalic", "2", italic, 0}};
    for (const auto& [key, value, field, expected] : rows)
        EXPECT_EQ(field(Load({{key, value}})), expected) << key << "=" << value;
    EXPECT_EQ(Load({{"FontName", "Arial  "}}).FontName, "Arial");
    Settings s;
    ApplySetting(s, SettingKeys().at(0), "42\0     "s); // XPos from a blank-filled buffer
    EXPECT_EQ(s.XPos, 42);
}

TEST(SettingsRules, DefaultsAndTexts)
{
    const Settings s = Load({}, Settings{9, 9, 9, 9, 9, 9, 9, 9, 9, "x", 9, true, true, 9});
    EXPECT_EQ(std::tie(s.XPos, s.YPos, s.XStart, s.YStart, s.XEnd, s.YEnd, s.Visible, s.MidiDevice, s.ErrorWait,
                       s.FontName, s.FontSize, s.FontItalic, s.FontBold, s.Volume),
              std::make_tuple(0, 0, 0, 0, 4695, 0, 1, -1, 0, "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9"s /* ＭＳ 明朝 */,
                              11, false, false, 100));
    EXPECT_EQ(DefaultSettingsFile(),
              "[System]\r\nXPos=0\r\nYPos=0\r\nXStart=0\r\nYStart=0\r\nXEnd=354\r\nYEnd=0\r\nVisible=1\r\n\r\n\0\0\0"s);
    // 全てのﾌｧｲﾙ|*.*|ｸﾞﾗﾌｨｯｸ|...|音楽|...|効果音|...|ｱﾆﾒｰｼｮﾝ|*.avi|, in code page 932
    EXPECT_EQ(OpenDialogFilter(), "\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9|*.*|\xb8\xde\xd7\xcc\xa8\xaf\xb8"
                                  "|*.bmp;*.gif;*.jpg|\x89\xb9\x8a\x79|*.mid;*.mp3|\x8c\xf8\x89\xca\x89\xb9"
                                  "|*.wav|\xb1\xc6\xd2\xb0\xbc\xae\xdd|*.avi|");
}
