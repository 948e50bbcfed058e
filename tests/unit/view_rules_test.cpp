#include "viewer/view_rules.h"

#include <gtest/gtest.h>

#include <array>

#include "viewer/picture_header.h"

using namespace lt;

TEST(ViewRules, WindowSizeAgainstTheScreen)
{
    const ScreenMetrics m{1024, 768, 8, 26}; // wide above 949, tall above 675
    const std::tuple<int, int, OuterSize> rows[] = {
        {949, 675, {957, 731}},   // fits, at both limits: picture + frame, + strip
        {950, 100, {957, 173}},   // wide: screen - 67, room for a bar
        {100, 676, {125, 731}},   // tall
        {2000, 2000, {974, 748}}, // both: screen - 50
        {1, 1, {112, 145}},       // never below the minimum
        {20000, 20, {957, 145}},
    };
    for (const auto& [iw, ih, want] : rows)
        EXPECT_EQ(PictureWindowSize(iw, ih, m), want) << iw << "x" << ih;
}

TEST(ViewRules, DisplayedSizesAndOffsetsRoundHalfEven)
{
    EXPECT_EQ(DisplayedSize(101, 50), 50);            // 50.5
    EXPECT_EQ(DisplayedSize(103, 50), 52);            // 51.5
    EXPECT_EQ(DisplayedSize(14, 75), 10);             // 10.5
    EXPECT_TRUE(MagnificationFits(2047, 2047, 1600)); // 32752
    EXPECT_FALSE(MagnificationFits(100, 2048, 1600)); // 32768
    EXPECT_EQ(ViewOffset(95, 100, 7), 2);             // centred, 2.5
    EXPECT_EQ(ViewOffset(93, 100, 7), 4);             // 3.5
    EXPECT_EQ(ViewOffset(150, 100, 7), -7);
}

TEST(ViewRules, LayoutPassesForTheBars)
{
    // Client 300 x 230, frame 26: a view of 300 x 204 before any bar.
    const std::tuple<int, int, ViewLayout> rows[] = {
        {300, 204, {300, 204, false, false, 0, 0}},
        {301, 100, {300, 187, false, true, 0, 1}},
        {100, 205, {283, 204, true, false, 1, 0}},
        {290, 210, {283, 187, true, true, 23, 7}}, // the vertical bar makes the width short
        {310, 195, {283, 187, true, true, 8, 27}}, // the horizontal bar makes the height short
    };
    for (const auto& [dw, dh, want] : rows)
        EXPECT_EQ(LayoutView(300, 230, 26, dw, dh), want) << dw << "x" << dh;
}

TEST(ViewRules, GridLines)
{
    // 100 x 100 at 100% centred: 8 rows (the last below the picture), 7 columns.
    GridLines g = ComputeGrid(100, 50, 20, 100, 100, 200, 140);
    EXPECT_EQ(g.Ys, (std::vector<int>{20, 36, 52, 68, 84, 100, 116, 132}));
    EXPECT_EQ(g.Xs, (std::vector<int>{50, 66, 82, 98, 114, 130, 146}));
    // Scrolled at 400% (a cell is 64): from the line at or above the view's edge, counted over the view.
    g = ComputeGrid(400, -37, -200, 4000, 4000, 100, 100);
    EXPECT_EQ(g.Xs, (std::vector<int>{-37, 27, 91}));
    EXPECT_EQ(g.Ys, (std::vector<int>{-8, 56, 120, 184}));
    EXPECT_EQ(ComputeGrid(75, 0, 0, 30, 30, 30, 30).Xs, (std::vector<int>{0, 12, 24}));
}

TEST(ViewRules, CoordinatesAndSelections)
{
    EXPECT_DOUBLE_EQ(ToImageCoord(30, 300), 10.0);
    EXPECT_DOUBLE_EQ(ToImageCoord(5, 50), 10.0);
    const std::tuple<double, int, bool, int> rows[] = {{10.6, 200, false, 20}, {10.6, 200, true, 22},
                                                       {10.2, 200, true, 20},  {3, 75, false, 2},
                                                       {7, 50, false, 3},      {2047, 1600, false, 32752}};
    for (const auto& [v, mag, up, want] : rows)
        EXPECT_EQ(ToViewCoord(v, mag, up), want) << v << " at " << mag << (up ? " up" : "");

    EXPECT_EQ((std::array{ClampToImage(-3.5, 100), ClampToImage(512.0, 100)}), (std::array{0.0f, 100.0f}));
    // Dragged either way: the same range and the same frame.
    const PixelRange range = SelectionRange(10.4f, 20.5f, 30.6f, 41.5f);
    EXPECT_EQ(range, (PixelRange{10, 20, 21, 22}));
    EXPECT_EQ(SelectionRange(30.6f, 41.5f, 10.4f, 20.5f), range);
    const FrameRect f = SelectionFrame(2, 3, 5, 7, 200, 10, -4);
    EXPECT_EQ(f, (FrameRect{14, 2, 20, 10}));
    EXPECT_EQ(SelectionFrame(5, 7, 2, 3, 200, 10, -4), f);
}

TEST(ViewRules, ToolStripHitAreas)
{
    using B = StripButton;
    const std::tuple<int, int, StripButton> rows[] = {{95, 5, B::None},  {121, 22, B::Zoom},  {122, 22, B::Select},
                                                      {147, 0, B::Copy}, {172, 9, B::Picker}, {221, 9, B::Hand},
                                                      {246, 9, B::Grid}, {247, 9, B::None},   {100, 23, B::None}};
    for (const auto& [x, y, want] : rows)
        EXPECT_EQ(HitToolStrip(x, y), want) << x << "," << y;
}

TEST(ViewRules, ScrollingByZoomAndKeys)
{
    // Picture point 50 at 200% is view pixel 100 of 400; the view is 100.
    EXPECT_EQ(ZoomScrollValue(50, 200, 400, 100, 300, 50.0), 50); // to the middle
    EXPECT_EQ(ZoomScrollValue(50, 200, 400, 100, 300, 80.0), 20); // kept under the pointer
    EXPECT_EQ(ZoomScrollValue(0, 200, 400, 100, 300, 50.0), 0);
    EXPECT_EQ(ZoomScrollValue(199, 200, 400, 100, 300, 50.0), 300);
    EXPECT_EQ(ZoomScrollValue(50, 200, 100, 100, 0, 50.0), -1); // nothing to scroll
    EXPECT_EQ((std::array{StepMagnificationIndex(14, 1), StepMagnificationIndex(0, -1)}), (std::array{-1, -1}));
    EXPECT_EQ((std::array{ScrollBack(7, 10), ScrollBack(12, 5), ScrollForward(96, 10, 100)}), (std::array{0, 7, 100}));
    // Key, vertical and horizontal step; other keys do nothing.
    const int steps[][3] = {{40, 10, 0}, {98, 10, 0}, {37, 0, -10},  {102, 0, 10}, {38, -10, 0},
                            {97, 5, -5}, {99, 5, 5},  {103, -5, -5}, {105, -5, 5}, {65, 0, 0}};
    for (const auto& [key, v, h] : steps)
        EXPECT_EQ(KeyCommandFor(key), (KeyCommand{v, h})) << "key " << key;
    EXPECT_EQ(KeyCommandFor(13), (KeyCommand{0, 0, true, false}));
    EXPECT_EQ(KeyCommandFor(27), (KeyCommand{0, 0, false, true}));
    EXPECT_FALSE(KeyCommandFor(40, true).Own()) << "the focused control gets the arrows too";

    // The window's own keys, with and without Ctrl.
    const std::tuple<int, bool, KeyCommand> own[] = {
        {'C', true, {.Copy = true}}, {'C', false, {}},        {'G', false, {.Grid = true}}, {'G', true, {}},
        {33, false, {.Page = -1}},   {35, true, {.Edge = 1}}, {107, false, {.Zoom = 1}},
        {189, false, {.Zoom = -1}},  {'P', false, {.SetTool = true, .Tool = ToolMode::Picker}}};
    for (const auto& [key, ctrl, want] : own)
        EXPECT_EQ(KeyCommandFor(key, ctrl), want) << "key " << key << (ctrl ? " with Ctrl" : "");
    // A page is the view's length; the edges are 0 and Max.
    const std::tuple<int, KeyCommand, int> pages[] = {
        {30, {.Page = 1}, 130}, {200, {.Page = 1}, 250}, {30, {.Page = -1}, 0},
        {9, {.Edge = 1}, 250},  {9, {.Edge = -1}, 0}};
    for (const auto& [value, cmd, want] : pages)
        EXPECT_EQ(PageScroll(value, 100, 250, cmd), want) << "from " << value;
}

// A 2 x 2 24-bit BMP: file header, info header, two padded rows; one 32-bit field set to `value`.
static std::vector<std::uint8_t> Bmp(std::size_t at = 14, std::uint32_t value = 40)
{
    std::vector<std::uint8_t> b(14 + 40 + 16, 0);
    b[0] = 'B', b[1] = 'M';
    // Planes 1 and depth 24 as one field: the depth is 16 bits and the bytes after it are 0.
    const std::pair<std::size_t, std::uint32_t> fields[] = {{2, 70}, {10, 54},           {14, 40},   {18, 2},
                                                            {22, 2}, {26, 1 | 24 << 16}, {at, value}};
    for (auto [i, v] : fields)
        for (int k = 0; k < 4; ++k)
            b[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
    return b;
}

TEST(PictureHeader, BmpHeadersMustFitTheFile)
{
    // field, value -> plausible: as made; info header larger than the file; a known size that does not fit this file;
    // no such header; pixels beyond the end; no width; top-down rows; wider than a view can show; no such depth.
    const std::vector<std::tuple<std::size_t, std::uint32_t, bool>> rows = {
        {14, 40, true}, {14, 0x7FFFFFF0, false}, {14, 124, false},   {14, 41, false}, {10, 5000, false},
        {18, 0, false}, {22, 0xFFFFFFFE, true},  {18, 40000, false}, {28, 7, false}};
    for (const auto& [at, value, want] : rows)
        EXPECT_EQ(PlausiblePictureHeader(Bmp(at, value)), want) << at << " = " << value;
    std::vector<std::uint8_t> cut = Bmp();
    cut.resize(20);
    EXPECT_FALSE(PlausiblePictureHeader(cut));
    EXPECT_TRUE(PlausiblePictureHeader(std::vector<std::uint8_t>{'G', 'I', 'F', '8', '9', 'a'}))
        << "left to the decoder";
}
