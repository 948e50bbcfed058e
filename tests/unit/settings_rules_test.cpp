#include "core/settings_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>

#include "controller/settings_panel_rules.h"
#include "core/text_rules.h"

using namespace lt;
using namespace std::string_literals;

// Reads every key the way the profile functions do: the file's value or the key's default, cut to the key's read limit.
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
              volume = [](const Settings&s) { return s.Volume; }, wait = [](const Settings&s) { return s.ErrorWait; };
    // Key -> stored text, value read. Three characters of a volume are read; a font size that is no number
    // keeps its default; the rounds waited for a device are bounded.
    using Texts = std::vector<std::pair<std::string, long long>>;
    const std::vector<std::tuple<const char*, Get, Texts>> rows = {
        {"XPos", x, {{"12.5", 12}, {"13.5", 14}, {" -7px", -7}, {"abc", 0}, {"99999999999", 2147483647}}},
        {"MidiDevice", midi, {{"40000", 32767}}},
        {"Volume", volume, {{"1000", 100}}},
        {"ErrorWait", wait, {{"2000000000", 10000}, {"-5", 0}, {"7", 7}}},
        {"FontSize", size, {{"14", 14}, {"9pt", 11}}},
        {"FontItalic", italic, {{"1", 1}, {"2", 0}}}};
    for (const auto& [key, field, texts] : rows)
        for (const auto& [value, expected] : texts)
            EXPECT_EQ(field(Load({{key, value}})), expected) << key << "=" << value;
    EXPECT_EQ(Load({{"FontName", "Arial  "}}).FontName, "Arial");
    Settings s;
    ApplySetting(s, SettingKeys().at(0), "42\0     "s); // XPos from a blank-filled buffer
    EXPECT_EQ(s.XPos, 42);
}

TEST(SettingsRules, DefaultsAndFilter)
{
    const Settings s = Load({}, Settings{9, 9, 9, 9, 9, 9, 9, 9, 9, "x", 9, true, true, 9});
    EXPECT_EQ(std::tie(s.XPos, s.YPos, s.XStart, s.YStart, s.XEnd, s.YEnd, s.Visible, s.MidiDevice, s.ErrorWait,
                       s.FontName, s.FontSize, s.FontItalic, s.FontBold, s.Volume),
              std::make_tuple(0, 0, 0, 0, 4695, 0, 1, -1, 0, "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9"s /* ＭＳ 明朝 */,
                              11, false, false, 100));
    // 全てのﾌｧｲﾙ|*.*|ｸﾞﾗﾌｨｯｸ|...|音楽|...|効果音|...|ｱﾆﾒｰｼｮﾝ|*.avi|, in code page 932
    EXPECT_EQ(OpenDialogFilter(), "\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9|*.*|\xb8\xde\xd7\xcc\xa8\xaf\xb8"
                                  "|*.bmp;*.gif;*.jpg|\x89\xb9\x8a\x79|*.mid;*.mp3|\x8c\xf8\x89\xca\x89\xb9"
                                  "|*.wav|\xb1\xc6\xd2\xb0\xbc\xae\xdd|*.avi|");
}

TEST(SettingsPanelRules, PresetsOnTwoScreens)
{
    // width, height, preset -> X Y Up Down Left Right; halves round to even (243.5, 355.5, 357.5).
    const std::vector<std::tuple<int, int, int, PositionPreset>> rows = {
        {800, 600, 1, {0, 0, 0, 0, 0, 357}},
        {800, 600, 2, {244, 0, 0, 0, 244, 601}},
        {800, 600, 3, {443, 0, 0, 0, 443, 800}},
        {800, 600, 4, {0, 391, 391, 600, 0, 0}},
        {800, 600, 5, {244, 391, 595, 600, 244, 601}},
        {800, 600, 6, {443, 391, 391, 600, 799, 800}},
        {1024, 768, 2, {356, 0, 0, 0, 356, 713}},
        {1024, 768, 5, {356, 559, 763, 768, 356, 713}},
        {1024, 768, 6, {667, 559, 559, 768, 1023, 1024}},
        {1028, 768, 2, {358, 0, 0, 0, 358, 715}}};
    for (const auto& [w, h, index, want] : rows) {
        const PositionPreset p = Preset(index, w, h);
        EXPECT_EQ(p, want) << w << "x" << h << " preset " << index << " gave " << p.X << " " << p.Y << " " << p.Up
                           << " " << p.Down << " " << p.Left << " " << p.Right;
    }
}

TEST(SettingsPanelRules, TypedNumbersAndPortSelection)
{
    const std::vector<std::tuple<const char*, std::int32_t, std::int16_t>> rows = {
        {"12abc", 12, 12},
        {"abc", 0, 0},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {" -7", -7, -7},
        {"2147483648", 2147483647, 32767},
        {"-99999999999999999999", -2147483647 - 1, -32768}};
    for (const auto& [text, as32, as16] : rows)
        EXPECT_EQ(std::make_tuple(LeadingWhole<std::int32_t>(text), LeadingWhole<std::int16_t>(text)),
                  std::make_tuple(as32, as16))
            << text;
    // Stored port, list size -> list selection.
    const std::vector<std::array<int, 3>> ports = {{-1, 3, -1}, {-5, 3, -1}, {2, 3, 2}, {7, 3, 2}, {0, 0, -1}};
    for (const auto& [port, size, selection] : ports)
        EXPECT_EQ(MidiSelection(port, size), selection) << "port " << port << " of " << size;
}
