#include "controller/appearance_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

using Actions = std::vector<AppearanceAction>;
constexpr auto Hide = AppearanceAction::HideAndClearPressed;
constexpr auto Show = AppearanceAction::Show;
constexpr auto Refresh = AppearanceAction::Refresh;

std::string Text(const Actions& a) {
    std::string s;
    for (auto x : a) s += x == Hide ? "H" : x == Show ? "S" : "R";
    return s.empty() ? "-" : s;
}

// A 357 x 209 window at pixel (100, 100) on a 96-dpi screen: pixels 100..457
// across, 100..309 down. Trigger: the top row, x 0..354.
AppearanceInput Base() {
    AppearanceInput in;
    in.Left = 1500;
    in.Top = 1500;
    in.Width = 357 * 15;
    in.Height = 209 * 15;
    in.Tppx = in.Tppy = 15;
    in.Shown = true;
    in.Trigger = {0, 354, 0, 0};
    in.X = 200;
    in.Y = 200;
    return in;
}

TEST(AppearanceRules, OutsideWindowMixedRules) {
    struct Row { double left, top, tpp; int x, y; bool outside; };
    const std::vector<Row> rows = {
        {1500, 1500, 15, 457, 200, false},   // right pixel edge is inside
        {1500, 1500, 15, 458, 200, true},
        {1500, 1500, 15, 200, 309, false},   // bottom pixel edge is inside
        {1500, 1500, 15, 200, 310, true},
        {1500, 1500, 15, 100, 100, false},   // left/top edges inside
        {1500, 1500, 15, 99, 200, true},
        {1500, 1500, 15, 200, 99, true},
        // Left and top are rounded to whole twips first: 1507.5 -> 1508, 1508\15 = 100
        // (in floating point x = 100 would be left of 100.5).
        {1507.5, 1507.5, 15, 100, 100, false},
        {1507.5, 1507.5, 15, 99, 100, true},
        // 12.5 twips per pixel rounds to 12: 1200\12 = 100, so 97 is outside,
        // although 1200 / 12.5 = 96.
        {1200, 1200, 12.5, 97, 150, true},
        {1200, 1200, 12.5, 100, 150, false},
        // Right edge stays in floating point: (1200 + 5355) / 12.5 = 524.4.
        {1200, 1200, 12.5, 524, 150, false},
        {1200, 1200, 12.5, 525, 150, true},
        // Division truncates toward zero: -155\15 = -10, not -11.
        {-155, 1500, 15, -11, 200, true},
        {-155, 1500, 15, -10, 200, false},
        // -7.5 rounds to -8 (even), -8\15 = 0.
        {-7.5, 1500, 15, -1, 200, true},
        {-7.5, 1500, 15, 0, 200, false},
        // A zero factor never puts the pointer outside.
        {1500, 1500, 0, -5000, 99999, false},
        {1500, 1500, 0.4, -5000, 99999, true}, // rounds to 0 at the near sides, far sides still apply
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        AppearanceInput in = Base();
        in.Left = rows[r].left;
        in.Top = rows[r].top;
        in.Tppx = in.Tppy = rows[r].tpp;
        in.X = rows[r].x;
        in.Y = rows[r].y;
        EXPECT_EQ(PointerOutsideWindow(in), rows[r].outside)
            << "row " << r << ": expected " << (rows[r].outside ? "outside" : "inside");
    }
}

TEST(AppearanceRules, TriggerRectangle) {
    struct Row { TriggerRect rect; int x, y; bool in; };
    const std::vector<Row> rows = {
        {{0, 354, 0, 0}, 0, 0, true},   {{0, 354, 0, 0}, 354, 0, true},
        {{0, 354, 0, 0}, 355, 0, false}, {{0, 354, 0, 0}, -1, 0, false},
        {{0, 354, 0, 0}, 10, 1, false}, {{5, 9, 3, 7}, 5, 3, true},
        {{5, 9, 3, 7}, 9, 7, true},     {{5, 9, 3, 7}, 9, 8, false},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(InTrigger(rows[r].rect, rows[r].x, rows[r].y), rows[r].in) << "row " << r;

    // Inverted rectangles hold no point at all.
    for (int x = -2; x <= 12; ++x)
        for (int y = -2; y <= 12; ++y) {
            EXPECT_FALSE(InTrigger({10, 0, 0, 10}, x, y)) << x << "," << y;
            EXPECT_FALSE(InTrigger({0, 10, 10, 0}, x, y)) << x << "," << y;
        }
}

TEST(AppearanceRules, Tick) {
    enum Where { InWindow, Outside, OutsideInTrigger, InWindowInTrigger };
    enum Hold { None, Pinned, Folder, Settings, OpenDialog };
    struct Row { bool shown; int counter; Hold hold; Where where; bool shownAfter; int counterAfter; Actions actions; };
    const std::vector<Row> rows = {
        {true, 0, None, InWindow, true, 0, {}},
        {true, 1, None, InWindow, true, 0, {}},
        {true, 0, None, Outside, false, 1, {Hide}},
        {true, 1, None, Outside, true, 0, {}},            // every other tick only resets
        {true, 0, Pinned, Outside, true, 0, {}},
        {true, 0, Folder, Outside, true, 0, {}},
        {true, 0, Settings, Outside, true, 0, {}},
        {true, 0, OpenDialog, Outside, true, 0, {}},
        {true, 1, Pinned, InWindow, true, 1, {}},         // the counter is left alone too
        {true, 0, None, OutsideInTrigger, true, 1, {Hide, Show, Refresh}},
        {true, 1, None, OutsideInTrigger, true, 0, {Show}},
        {true, 0, None, InWindowInTrigger, true, 0, {Show}},
        {false, 1, None, OutsideInTrigger, true, 1, {Show, Refresh}},
        {false, 1, None, Outside, false, 1, {}},
        {false, 0, Pinned, OutsideInTrigger, true, 0, {Show, Refresh}},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        AppearanceInput in = Base();
        in.Shown = row.shown;
        in.LeaveCounter = static_cast<std::int16_t>(row.counter);
        in.Pinned = row.hold == Pinned;
        in.FolderBusy = row.hold == Folder;
        in.SettingsOpen = row.hold == Settings;
        in.OpenDialogBusy = row.hold == OpenDialog;
        if (row.where == InWindowInTrigger) in.Trigger = {150, 250, 150, 250};
        if (row.where == Outside) { in.X = 600; in.Y = 600; }
        if (row.where == OutsideInTrigger) { in.X = 20; in.Y = 0; }
        const AppearanceResult out = AppearanceTick(in);
        EXPECT_EQ(out.Shown, row.shownAfter) << "row " << r;
        EXPECT_EQ(out.LeaveCounter, row.counterAfter) << "row " << r;
        EXPECT_EQ(Text(out.Actions), Text(row.actions)) << "row " << r << ": actions expected vs got";
    }
}

TEST(AppearanceRules, LeaveCounterCycle) {
    // Pointer parked outside the window but in the trigger strip: hidden and
    // shown again on every second tick.
    AppearanceInput in = Base();
    in.X = 20;
    in.Y = 0;
    std::string seen;
    for (int tick = 0; tick < 6; ++tick) {
        const AppearanceResult out = AppearanceTick(in);
        seen += Text(out.Actions) + " ";
        in.Shown = out.Shown;
        in.LeaveCounter = out.LeaveCounter;
    }
    EXPECT_EQ(seen, "HSR S HSR S HSR S ");
}

} // namespace
} // namespace lt
