#include "viewer/view_rules.h"

#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(ViewRules, WindowSizeAgainstTheScreen)
{
    const ScreenMetrics m{1024, 768, 8, 26}; // wide above 949, tall above 675
    struct Row {
        int iw, ih;
        OuterSize want;
    };
    const std::vector<Row> rows = {
        {300, 200, {308, 256}},   // fits: picture + frame, + strip
        {949, 675, {957, 731}},   // exactly at both limits
        {950, 100, {957, 173}},   // wide: screen - 67, room for a bar
        {100, 676, {125, 731}},   // tall
        {2000, 2000, {974, 748}}, // both: screen - 50
        {1, 1, {112, 145}},       // never below the minimum
        {20000, 20, {957, 145}},  // thin strip: minimum height
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(PictureWindowSize(rows[r].iw, rows[r].ih, m), rows[r].want) << "row " << r;
    EXPECT_EQ(CentredPosition(1024, 308), 358);
    EXPECT_EQ(CentredPosition(100, 300), 0);
}

TEST(ViewRules, DisplayedSizesRoundHalfEvenAndStayIn16Bits)
{
    EXPECT_EQ(DisplayedSize(101, 50), 50); // 50.5 -> 50
    EXPECT_EQ(DisplayedSize(103, 50), 52); // 51.5 -> 52
    EXPECT_EQ(DisplayedSize(10, 75), 8);   // 7.5 -> 8
    EXPECT_EQ(DisplayedSize(14, 75), 10);  // 10.5 -> 10
    EXPECT_TRUE(MagnificationFits(2047, 2047, 1600));  // 32752
    EXPECT_FALSE(MagnificationFits(100, 2048, 1600));  // 32768
    EXPECT_FALSE(MagnificationFits(32768, 1, 100));
}

TEST(ViewRules, LayoutPassesForTheBars)
{
    // Client 300 x 230 with frame 26: the view is 300 x 204 before any bar.
    struct Row {
        int dw, dh;
        ViewLayout want;
    };
    const std::vector<Row> rows = {
        {300, 204, {300, 204, false, false, 0, 0}},
        {301, 100, {300, 187, false, true, 0, 1}},
        {100, 205, {283, 204, true, false, 1, 0}},
        // The vertical bar takes 17 and makes the width short too.
        {290, 210, {283, 187, true, true, 23, 7}},
        // The horizontal bar takes 17 and makes the height short too.
        {310, 195, {283, 187, true, true, 8, 27}},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(LayoutView(300, 230, 26, rows[r].dw, rows[r].dh), rows[r].want) << "row " << r;
}

TEST(ViewRules, OffsetsCentreOrScroll)
{
    EXPECT_EQ(ViewOffset(95, 100, 7), 2);  // 2.5 -> 2
    EXPECT_EQ(ViewOffset(93, 100, 7), 4);  // 3.5 -> 4
    EXPECT_EQ(ViewOffset(100, 100, 7), 0); // equal: centred, no scroll
    EXPECT_EQ(ViewOffset(150, 100, 7), -7);
}

TEST(ViewRules, GridLines)
{
    // 100 x 100 at 100% centred: 8 rows (the last below the picture), 7 columns.
    GridLines g = ComputeGrid(100, 50, 20, 100, 100, 200, 140);
    EXPECT_EQ(g.Ys, (std::vector<int>{20, 36, 52, 68, 84, 100, 116, 132}));
    EXPECT_EQ(g.Xs, (std::vector<int>{50, 66, 82, 98, 114, 130, 146}));
    // Scrolled into a large picture at 400% (step 64): the first line at or
    // above the view's edge, the count from the view's size.
    g = ComputeGrid(400, -37, -200, 4000, 4000, 100, 100);
    EXPECT_EQ(g.Xs, (std::vector<int>{-37, 27, 91}));
    EXPECT_EQ(g.Ys.front(), -8);
    EXPECT_EQ(g.Ys.size(), 4u); // round(100 / 64 + 1) = 3 more
    // 75%: a cell is 12 pixels.
    EXPECT_EQ(ComputeGrid(75, 0, 0, 30, 30, 30, 30).Xs, (std::vector<int>{0, 12, 24}));
}

TEST(ViewRules, CoordinateHelpers)
{
    EXPECT_DOUBLE_EQ(ToImageCoord(30, 300), 10.0);
    EXPECT_DOUBLE_EQ(ToImageCoord(5, 50), 10.0);
    EXPECT_NEAR(ToImageCoord(1, 75), 1.3333333, 1e-6);
    struct Row {
        double v;
        int mag;
        bool up;
        int want;
    };
    const std::vector<Row> rows = {
        {10.6, 200, false, 20}, {10.6, 200, true, 22}, {10.2, 200, true, 20},
        {3, 75, false, 2},      {3, 75, true, 2},      {7, 50, false, 3},
        {2047, 1600, false, 32752},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(ToViewCoord(rows[r].v, rows[r].mag, rows[r].up), rows[r].want) << "row " << r;
}

TEST(ViewRules, ToolStripHitAreas)
{
    struct Row {
        int x, y;
        StripButton want;
    };
    const std::vector<Row> rows = {
        {95, 5, StripButton::None},    {96, 5, StripButton::Zoom},    {121, 22, StripButton::Zoom},
        {122, 22, StripButton::Select}, {146, 0, StripButton::Select}, {147, 0, StripButton::Copy},
        {172, 9, StripButton::Picker}, {197, 9, StripButton::Hand},   {221, 9, StripButton::Hand},
        {246, 9, StripButton::Grid},   {247, 9, StripButton::None},   {100, 23, StripButton::None},
        {100, -1, StripButton::None},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(HitToolStrip(rows[r].x, rows[r].y), rows[r].want) << "row " << r;
}

TEST(ViewRules, SelectionsClampAndNormalise)
{
    EXPECT_FLOAT_EQ(ClampToImage(-3.5, 100), 0.0f);
    EXPECT_FLOAT_EQ(ClampToImage(512.0, 100), 100.0f);
    // Dragged either way: the same range and the same frame.
    const PixelRange forward = SelectionRange(10.4f, 20.5f, 30.6f, 41.5f);
    EXPECT_EQ(forward, (PixelRange{10, 20, 21, 22}));
    EXPECT_EQ(SelectionRange(30.6f, 41.5f, 10.4f, 20.5f), forward);
    EXPECT_EQ(SelectionRange(5, 0, 5, 9).Width, 0); // a vertical line has no width
    const FrameRect f = SelectionFrame(2, 3, 5, 7, 200, 10, -4);
    EXPECT_EQ(f, (FrameRect{14, 2, 20, 10}));
    EXPECT_EQ(SelectionFrame(5, 7, 2, 3, 200, 10, -4), f);
}

TEST(ViewRules, ZoomKeepsThePoint)
{
    // Point 50 of a picture zoomed to 200% (displayed 400 in a 100 view):
    // 100 - 50 = 50 puts it in the middle.
    EXPECT_EQ(ZoomScrollValue(50, 200, 400, 100, 300, 50.0), 50);
    EXPECT_EQ(ZoomScrollValue(50, 200, 400, 100, 300, 80.0), 20); // kept under the pointer
    EXPECT_EQ(ZoomScrollValue(0, 200, 400, 100, 300, 50.0), 0);   // top-left stays at 0
    EXPECT_EQ(ZoomScrollValue(199, 200, 400, 100, 300, 50.0), 300);
    EXPECT_EQ(ZoomScrollValue(50, 200, 100, 100, 0, 50.0), -1); // does not scroll
    EXPECT_EQ(StepMagnificationIndex(14, 1), -1);
    EXPECT_EQ(StepMagnificationIndex(0, -1), -1);
    EXPECT_EQ(StepMagnificationIndex(2, 1), 3);
}

TEST(ViewRules, KeyScrollSteps)
{
    EXPECT_EQ(ScrollBack(7, 10), 0);
    EXPECT_EQ(ScrollBack(12, 5), 7);
    EXPECT_EQ(ScrollForward(96, 10, 100), 100);
    EXPECT_EQ(ScrollForward(90, 10, 100), 100);
    struct Row {
        int key;
        KeyCommand want;
    };
    const std::vector<Row> rows = {
        {40, {10, 0}},  {98, {10, 0}},   {37, {0, -10}}, {102, {0, 10}},          {38, {-10, 0}},
        {97, {5, -5}},  {99, {5, 5}},    {103, {-5, -5}}, {105, {-5, 5}},          {13, {0, 0, true, false}},
        {27, {0, 0, false, true}},       {65, {}},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(KeyCommandFor(rows[r].key), rows[r].want) << "row " << r;
}

} // namespace
} // namespace lt
