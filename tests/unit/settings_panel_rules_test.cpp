#include "controller/settings_panel_rules.h"

#include <cstdint>
#include <string>
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
        {800, 600, 1, {0, 0, 0, 0, 0, 357}},
        {800, 600, 2, {244, 0, 0, 0, 244, 601}}, // (800 - 313) / 2 = 243.5 -> 244
        {800, 600, 3, {443, 0, 0, 0, 443, 800}},
        {800, 600, 4, {0, 391, 391, 600, 0, 0}},
        {800, 600, 5, {244, 391, 595, 600, 244, 601}},
        {800, 600, 6, {443, 391, 391, 600, 799, 800}},
        {1024, 768, 1, {0, 0, 0, 0, 0, 357}},
        {1024, 768, 2, {356, 0, 0, 0, 356, 713}}, // 355.5 -> 356
        {1024, 768, 3, {667, 0, 0, 0, 667, 1024}},
        {1024, 768, 4, {0, 559, 559, 768, 0, 0}},
        {1024, 768, 5, {356, 559, 763, 768, 356, 713}},
        {1024, 768, 6, {667, 559, 559, 768, 1023, 1024}},
        {1025, 768, 2, {356, 0, 0, 0, 356, 713}}, // 356 exactly
        {1027, 768, 2, {357, 0, 0, 0, 357, 714}}, // 357 exactly
        {1028, 768, 2, {358, 0, 0, 0, 358, 715}}, // 357.5 -> 358
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const PositionPreset got = Preset(r.index, r.w, r.h);
        EXPECT_EQ(got, r.expected) << "row " << i + 1 << ": preset " << r.index << " on " << r.w << " x " << r.h
                                   << " gave " << got.X << " " << got.Y << " " << got.Up << " " << got.Down << " "
                                   << got.Left << " " << got.Right;
    }
}

TEST(SettingsPanelRules, TypedNumbers)
{
    struct Row {
        const char* text;
        std::int32_t as32;
        std::int16_t as16;
    };
    const std::vector<Row> rows = {
        {"12abc", 12, 12},
        {"abc", 0, 0},
        {"", 0, 0},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {" -7", -7, -7},
        {"2147483648", 2147483647, 32767},
        {"-99999999999999999999", -2147483647 - 1, -32768},
        {"40000", 40000, 32767},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(LeadingWhole<std::int32_t>(rows[i].text), rows[i].as32) << "row " << i + 1 << ": " << rows[i].text;
        EXPECT_EQ(LeadingWhole<std::int16_t>(rows[i].text), rows[i].as16) << "row " << i + 1 << ": " << rows[i].text;
    }
}

TEST(SettingsPanelRules, StartOptionAreas)
{
    struct Row {
        int x, y;
        StartOption expected;
    };
    const std::vector<Row> rows = {
        {60, 42, StartOption::Show},  {100, 54, StartOption::Show}, {59, 48, StartOption::None},
        {101, 48, StartOption::None}, {80, 41, StartOption::None},  {80, 55, StartOption::None},
        {112, 42, StartOption::Hide}, {164, 54, StartOption::Hide}, {111, 48, StartOption::None},
        {165, 48, StartOption::None},
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(HitStartOption(rows[i].x, rows[i].y), rows[i].expected)
            << "row " << i + 1 << ": (" << rows[i].x << ", " << rows[i].y << ")";
}

TEST(SettingsPanelRules, MidiSelectionAndScreenText)
{
    struct Row {
        int device, entries, expected;
    };
    const std::vector<Row> rows = {
        {-1, 3, -1}, {-5, 3, -1}, {0, 3, 0}, {2, 3, 2}, {7, 3, 2}, {0, 0, -1}, {5, 0, -1},
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(MidiSelection(rows[i].device, rows[i].entries), rows[i].expected) << "row " << i + 1;

    EXPECT_EQ(ScreenSizeText(1024, 768), "1024 × 768");
    EXPECT_EQ(ScreenSizeText(1024, 768).size(), 11u); // the sign is one double-byte character
}

} // namespace
} // namespace lt
