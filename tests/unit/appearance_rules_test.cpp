#include "controller/appearance_rules.h"

#include <gtest/gtest.h>

using namespace lt;

// A 357 x 209 window at pixel (100, 100) on a 96-dpi screen: pixels 100..457
// across, 100..309 down. Trigger: the top row, x 0..354.
static AppearanceInput Base(double left, double tpp, int x, int y)
{
    AppearanceInput in;
    in.Left = left, in.Top = 1500, in.Width = 357 * 15, in.Height = 209 * 15, in.Tppx = in.Tppy = tpp;
    in.Shown = true, in.Trigger = {0, 354, 0, 0}, in.X = x, in.Y = y;
    return in;
}

TEST(AppearanceRules, PointerOutsideWindowAndTrigger)
{
    // Pixel edges are inside. The left edge is rounded half to even before the whole division by the rounded
    // factor (1514.5 -> 1514 \ 15 = 100; 12.5 -> 12: 1500 \ 12 = 125), which truncates toward zero (-155 \ 15
    // = -10); the right edge stays in floating point ((1500 + 5355) / 12.5 = 548.4); a factor that is or rounds
    // to zero never puts the pointer outside.
    const std::vector<std::tuple<double, double, int, int, bool>> rows = {
        {1500, 15, 457, 200, false},   {1500, 15, 458, 200, true},     {1500, 15, 200, 309, false},
        {1500, 15, 200, 310, true},    {1500, 15, 100, 100, false},    {1500, 15, 99, 200, true},
        {1500, 15, 200, 99, true},     {1514.5, 15, 100, 150, false},  {1500, 12.5, 124, 150, true},
        {1500, 12.5, 125, 150, false}, {1500, 12.5, 548, 150, false},  {1500, 12.5, 549, 150, true},
        {-155, 15, -11, 200, true},    {1500, 0, -5000, 99999, false}, {1500, 0.4, -5000, 99999, true}};
    for (const auto& [left, tpp, x, y, outside] : rows)
        EXPECT_EQ(PointerOutsideWindow(Base(left, tpp, x, y)), outside) << left << " " << tpp << " " << x << "," << y;

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
    // shown, counter, hold, pointer -> shown, counter, actions (Hide, Show, Refresh). Outside the window but
    // in the trigger it hides and shows in one tick, then only shows; every other tick outside only resets.
    const std::vector<std::tuple<bool, int, Hold, Where, bool, int, std::string>> rows = {
        {true, 1, None, InWindow, true, 0, ""},
        {true, 0, None, Outside, false, 1, "H"},
        {true, 1, None, Outside, true, 0, ""},
        {true, 0, Pinned, Outside, true, 0, ""},
        {true, 0, Folder, Outside, true, 0, ""},
        {true, 0, Settings, Outside, true, 0, ""},
        {true, 0, OpenDialog, Outside, true, 0, ""},
        {true, 1, Pinned, InWindow, true, 1, ""},
        {true, 0, None, OutsideInTrigger, true, 1, "HSR"},
        {true, 1, None, OutsideInTrigger, true, 0, "S"},
        {true, 0, None, InWindowInTrigger, true, 0, "S"},
        {false, 1, None, OutsideInTrigger, true, 1, "SR"},
        {false, 1, None, Outside, false, 1, ""},
        {false, 0, Pinned, OutsideInTrigger, true, 0, "SR"}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& [shown, counter, hold, where, shownAfter, counterAfter, actions] = rows[r];
        const int at[][2] = {{200, 200}, {600, 600}, {20, 0}, {200, 200}}; // by Where
        AppearanceInput in = Base(1500, 15, at[where][0], at[where][1]);
        in.Shown = shown, in.LeaveCounter = static_cast<std::int16_t>(counter), in.Pinned = hold == Pinned;
        in.FolderBusy = hold == Folder, in.SettingsOpen = hold == Settings, in.OpenDialogBusy = hold == OpenDialog;
        if (where == InWindowInTrigger)
            in.Trigger = {150, 250, 150, 250};
        const AppearanceResult out = AppearanceTick(in);
        std::string got;
        for (auto a : out.Actions)
            got += a == AppearanceAction::HideAndClearPressed ? 'H' : a == AppearanceAction::Show ? 'S' : 'R';
        EXPECT_EQ(std::tie(out.Shown, out.LeaveCounter, got), std::tie(shownAfter, counterAfter, actions))
            << "row " << r;
    }
}
