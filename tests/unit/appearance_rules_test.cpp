#include "controller/appearance_rules.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

// A 357 x 209 window at pixel (100, 100) on a 96-dpi screen: pixels 100..457
// across, 100..309 down. Trigger: the top row, x 0..354.
AppearanceInput Base()
{
    AppearanceInput in;
    in.Left = in.Top = 1500;
    in.Width = 357 * 15;
    in.Height = 209 * 15;
    in.Shown = true;
    in.Trigger = {0, 354, 0, 0};
    in.X = in.Y = 200;
    return in;
}

TEST(AppearanceRules, PointerOutsideWindowAndTrigger)
{
    struct Row {
        double left, tpp;
        int x, y;
        bool outside;
    };
    const std::vector<Row> rows = {
        // Every pixel edge is inside; one pixel further is outside.
        {1500, 15, 457, 200, false},
        {1500, 15, 458, 200, true},
        {1500, 15, 200, 309, false},
        {1500, 15, 200, 310, true},
        {1500, 15, 100, 100, false},
        {1500, 15, 99, 200, true},
        {1500, 15, 200, 99, true},
        // The left edge is rounded half to even first: 1514.5 -> 1514, 1514\15 = 100.
        {1514.5, 15, 100, 150, false},
        // 12.5 twips per pixel rounds to 12: 1500\12 = 125, although 1500 / 12.5 = 120.
        {1500, 12.5, 124, 150, true},
        {1500, 12.5, 125, 150, false},
        // The right edge stays in floating point: (1500 + 5355) / 12.5 = 548.4.
        {1500, 12.5, 548, 150, false},
        {1500, 12.5, 549, 150, true},
        {-155, 15, -11, 200, true}, // division truncates toward zero: -155\15 = -10
                                    // A factor that is or rounds to zero never puts the pointer outside on that side.
        {1500, 0, -5000, 99999, false},
        {1500, 0.4, -5000, 99999, true}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        AppearanceInput in = Base();
        in.Left = rows[r].left;
        in.Tppx = in.Tppy = rows[r].tpp;
        in.X = rows[r].x;
        in.Y = rows[r].y;
        EXPECT_EQ(PointerOutsideWindow(in), rows[r].outside) << "row " << r;
    }

    // The trigger's edges are inside; inverted rectangles hold no point.
    const std::vector<std::tuple<int, int, bool>> trigger = {{5, 3, true},   {9, 7, true},  {4, 5, false},
                                                             {10, 5, false}, {7, 2, false}, {7, 8, false}};
    for (const auto& [x, y, in] : trigger)
        EXPECT_EQ(InTrigger({5, 9, 3, 7}, x, y), in) << x << "," << y;
    for (int p : {0, 5, 10})
        EXPECT_FALSE(InTrigger({10, 0, 0, 10}, p, p) || InTrigger({0, 10, 10, 0}, p, p)) << p;
}

TEST(AppearanceRules, Tick)
{
    enum Where { InWindow, Outside, OutsideInTrigger, InWindowInTrigger };
    enum Hold { None, Pinned, Folder, Settings, OpenDialog };
    struct Row {
        bool shown;
        int counter;
        Hold hold;
        Where where;
        bool shownAfter;
        int counterAfter;
        std::string actions; // H hide, S show, R refresh
    };
    const std::vector<Row> rows = {{true, 1, None, InWindow, true, 0, ""},
                                   {true, 0, None, Outside, false, 1, "H"},
                                   {true, 1, None, Outside, true, 0, ""}, // every other tick only resets
                                   {true, 0, Pinned, Outside, true, 0, ""},
                                   {true, 0, Folder, Outside, true, 0, ""},
                                   {true, 0, Settings, Outside, true, 0, ""},
                                   {true, 0, OpenDialog, Outside, true, 0, ""},
                                   {true, 1, Pinned, InWindow, true, 1, ""}, // the counter is left alone too
                                   // Outside the window but in the trigger: hidden and shown in one tick,
                                   // then only shown on the next.
                                   {true, 0, None, OutsideInTrigger, true, 1, "HSR"},
                                   {true, 1, None, OutsideInTrigger, true, 0, "S"},
                                   {true, 0, None, InWindowInTrigger, true, 0, "S"},
                                   {false, 1, None, OutsideInTrigger, true, 1, "SR"},
                                   {false, 1, None, Outside, false, 1, ""},
                                   {false, 0, Pinned, OutsideInTrigger, true, 0, "SR"}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        AppearanceInput in = Base();
        in.Shown = row.shown;
        in.LeaveCounter = static_cast<std::int16_t>(row.counter);
        in.Pinned = row.hold == Pinned;
        in.FolderBusy = row.hold == Folder;
        in.SettingsOpen = row.hold == Settings;
        in.OpenDialogBusy = row.hold == OpenDialog;
        if (row.where == InWindowInTrigger)
            in.Trigger = {150, 250, 150, 250};
        if (row.where == Outside)
            in.X = in.Y = 600;
        if (row.where == OutsideInTrigger)
            in.X = 20, in.Y = 0;
        const AppearanceResult out = AppearanceTick(in);
        std::string actions;
        for (auto a : out.Actions)
            actions += a == AppearanceAction::HideAndClearPressed ? 'H' : a == AppearanceAction::Show ? 'S' : 'R';
        EXPECT_EQ(out.Shown, row.shownAfter) << "row " << r;
        EXPECT_EQ(out.LeaveCounter, row.counterAfter) << "row " << r;
        EXPECT_EQ(actions, row.actions) << "row " << r;
    }
}

} // namespace
} // namespace lt
