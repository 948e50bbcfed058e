#include "controller/settings_panel_rules.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "core/text_rules.h"

namespace lt {
namespace {

TEST(SettingsPanelRules, PresetsOnTwoScreens)
{
    struct Row {
        int w, h, index;
        PositionPreset expected; // X Y Up Down Left Right
    };
    const std::vector<Row> rows = {
        {800, 600, 1, {0, 0, 0, 0, 0, 357}},         {800, 600, 2, {244, 0, 0, 0, 244, 601}}, // 243.5 -> 244
        {800, 600, 3, {443, 0, 0, 0, 443, 800}},     {800, 600, 4, {0, 391, 391, 600, 0, 0}},
        {800, 600, 5, {244, 391, 595, 600, 244, 601}}, {800, 600, 6, {443, 391, 391, 600, 799, 800}},
        {1024, 768, 2, {356, 0, 0, 0, 356, 713}}, // 355.5 -> 356
        {1024, 768, 5, {356, 559, 763, 768, 356, 713}}, {1024, 768, 6, {667, 559, 559, 768, 1023, 1024}},
        {1028, 768, 2, {358, 0, 0, 0, 358, 715}}, // 357.5 -> 358
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PositionPreset p = Preset(rows[i].index, rows[i].w, rows[i].h);
        EXPECT_EQ(p, rows[i].expected) << "row " << i + 1 << " gave " << p.X << " " << p.Y << " " << p.Up << " "
                                       << p.Down << " " << p.Left << " " << p.Right;
    }
}

TEST(SettingsPanelRules, TypedNumbersAndPortSelection)
{
    struct Row {
        const char* text;
        std::int32_t as32;
        std::int16_t as16;
    };
    const std::vector<Row> rows = {
        {"12abc", 12, 12}, {"abc", 0, 0}, {"2.5", 2, 2}, {"3.5", 4, 4}, {" -7", -7, -7},
        {"2147483648", 2147483647, 32767}, {"-99999999999999999999", -2147483647 - 1, -32768},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(LeadingWhole<std::int32_t>(r.text), r.as32) << r.text;
        EXPECT_EQ(LeadingWhole<std::int16_t>(r.text), r.as16) << r.text;
    }
    // Stored port -> list selection, for a list of 3 entries and an empty one.
    const std::vector<std::vector<int>> ports = {{-1, 3, -1}, {-5, 3, -1}, {2, 3, 2}, {7, 3, 2}, {0, 0, -1}};
    for (const auto& p : ports)
        EXPECT_EQ(MidiSelection(p[0], p[1]), p[2]) << "port " << p[0] << " of " << p[1];
}

} // namespace
} // namespace lt
