#include "viewer/view_rules.h"

#include <algorithm>
#include <cmath>

#include "core/text_rules.h"

namespace lt {

namespace {

constexpr int GridCell = 16; // picture pixels per grid cell
constexpr int ScreenMargin = 67;
constexpr int BigMargin = 50;

} // namespace

OuterSize PictureWindowSize(int iw, int ih, const ScreenMetrics& m)
{
    const bool wide = iw > m.Sw - m.Fx - ScreenMargin;
    const bool tall = ih > m.Sh - m.Fy - ScreenMargin;
    OuterSize s{};
    if (!wide && !tall)
        s = {iw + m.Fx, ih + m.Fy + StripHeight};
    else if (wide && !tall)
        s = {m.Sw - ScreenMargin, ih + ScrollBarThickness + m.Fy + StripHeight};
    else if (!wide && tall)
        s = {iw + ScrollBarThickness + m.Fx, m.Sh - ScreenMargin + StripHeight};
    else
        s = {m.Sw - BigMargin, m.Sh - BigMargin + StripHeight};
    // The layout snaps anything smaller back to the minimum; start there. A
    // window never starts larger than the screen.
    s.Width = std::max(MinOuterWidth, std::min(s.Width, std::max(m.Sw, MinOuterWidth)));
    s.Height = std::max(MinOuterHeight, std::min(s.Height, std::max(m.Sh, MinOuterHeight)));
    return s;
}

int CentredPosition(int screen, int size)
{
    return std::max(0, (screen - size) / 2);
}

int DisplayedSize(int imageSize, int magnification)
{
    return RoundHalfEvenInt(magnification / 100.0 * imageSize);
}

bool MagnificationFits(int imageWidth, int imageHeight, int magnification)
{
    return DisplayedSize(imageWidth, magnification) <= MaxDisplayedSize &&
           DisplayedSize(imageHeight, magnification) <= MaxDisplayedSize;
}

ViewLayout LayoutView(int clientWidth, int clientHeight, int frameY, int displayedWidth, int displayedHeight)
{
    int h = clientHeight - frameY;
    int w = clientWidth;
    ViewLayout l;
    if (displayedHeight > h) {
        w -= ScrollBarThickness;
        l.NeedV = true;
    }
    if (displayedWidth > w) {
        h -= ScrollBarThickness;
        l.NeedH = true;
    }
    if (!l.NeedV && displayedHeight > h) {
        w -= ScrollBarThickness;
        l.NeedV = true;
    }
    // (A second horizontal check cannot change anything: w only shrinks
    // above when the first horizontal check already ran with the same w.)
    if (!l.NeedH && displayedWidth > w) {
        h -= ScrollBarThickness;
        l.NeedH = true;
    }
    l.ViewWidth = std::max(0, w);
    l.ViewHeight = std::max(0, h);
    l.VMax = l.NeedV ? std::max(0, displayedHeight - l.ViewHeight) : 0;
    l.HMax = l.NeedH ? std::max(0, displayedWidth - l.ViewWidth) : 0;
    return l;
}

int ViewOffset(int displayed, int view, int scrollValue)
{
    if (displayed > view)
        return -scrollValue;
    return RoundHalfEvenInt((view - displayed) / 2.0);
}

namespace {

// First line at or above the view's edge, then count more, step apart.
std::vector<int> GridRun(int offset, int step, int count)
{
    int first = offset >= 1 ? offset : offset + step * (-offset / step);
    std::vector<int> at;
    at.reserve(static_cast<std::size_t>(std::max(0, count) + 1));
    for (int i = 0; i <= count; ++i)
        at.push_back(first + step * i);
    return at;
}

} // namespace

GridLines ComputeGrid(int magnification, int xOffset, int yOffset, int displayedWidth, int displayedHeight,
                      int viewWidth, int viewHeight)
{
    GridLines g;
    const int step = RoundHalfEvenInt(magnification / 100.0 * GridCell);
    if (step <= 0)
        return g;
    const int limitY = viewHeight >= displayedHeight ? displayedHeight : viewHeight;
    const int limitX = viewWidth >= displayedWidth ? displayedWidth : viewWidth;
    g.Ys = GridRun(yOffset, step, RoundHalfEvenInt(static_cast<double>(limitY) / step + 1));
    g.Xs = GridRun(xOffset, step, RoundHalfEvenInt(static_cast<double>(limitX) / step));
    return g;
}

double ToImageCoord(double d, int magnification)
{
    return d * (100.0 / magnification);
}

std::int16_t ToViewCoord(double v, int magnification, bool roundUp)
{
    const float m = static_cast<float>(magnification) / 100.0f;
    const double whole = std::floor(roundUp ? v + 0.75 : v);
    return static_cast<std::int16_t>(std::floor(whole * static_cast<double>(m)));
}

bool InStripRow(int y)
{
    return y >= 0 && y <= StripButtonHeight;
}

StripButton HitToolStrip(int x, int y)
{
    if (!InStripRow(y))
        return StripButton::None;
    // Each button takes its 25-pixel step; the first also its left edge.
    if (x >= 96 && x <= 121)
        return StripButton::Zoom;
    if (x >= 122 && x <= 146)
        return StripButton::Select;
    if (x >= 147 && x <= 171)
        return StripButton::Copy;
    if (x >= 172 && x <= 196)
        return StripButton::Picker;
    if (x >= 197 && x <= 221)
        return StripButton::Hand;
    if (x >= 222 && x <= 246)
        return StripButton::Grid;
    return StripButton::None;
}

float ClampToImage(double v, int size)
{
    return static_cast<float>(std::clamp(v, 0.0, static_cast<double>(std::max(0, size))));
}

PixelRange SelectionRange(float x1, float y1, float x2, float y2)
{
    int xa = RoundHalfEvenInt(x1), ya = RoundHalfEvenInt(y1), xb = RoundHalfEvenInt(x2), yb = RoundHalfEvenInt(y2);
    if (xa > xb)
        std::swap(xa, xb);
    if (ya > yb)
        std::swap(ya, yb);
    return {xa, ya, xb - xa, yb - ya};
}

FrameRect SelectionFrame(float x1, float y1, float x2, float y2, int magnification, int xOffset, int yOffset)
{
    const int xa = RoundHalfEvenInt(x1), ya = RoundHalfEvenInt(y1), xb = RoundHalfEvenInt(x2), yb = RoundHalfEvenInt(y2);
    const int maxX = std::max(xa, xb), minX = std::min(xa, xb);
    const int maxY = std::max(ya, yb), minY = std::min(ya, yb);
    return {ToViewCoord(minX, magnification, true) + xOffset, ToViewCoord(minY, magnification, true) + yOffset,
            ToViewCoord(maxX, magnification, false) + xOffset, ToViewCoord(maxY, magnification, false) + yOffset};
}

int ClampScroll(long long value, int max)
{
    return static_cast<int>(std::clamp<long long>(value, 0, std::max(0, max)));
}

int ZoomScrollValue(float p, int newMagnification, int displayed, int view, int max, double anchor)
{
    if (displayed - view <= 0)
        return -1;
    const int n = ToViewCoord(p, newMagnification, false);
    return ClampScroll(RoundHalfEven(n - anchor), max);
}

int ScrollForward(int value, int step, int max)
{
    return value + step > max ? max : value + step;
}

int ScrollBack(int value, int step)
{
    return value < step ? 0 : value - step;
}

KeyCommand KeyCommandFor(int keyCode, bool ctrl)
{
    constexpr int S = KeyScrollStep, D = KeyScrollStep / 2;
    if (ctrl && keyCode == 'C')
        return {.Copy = true};
    switch (ctrl ? 0 : keyCode) { // other letters with Ctrl mean nothing here
    case 'Z':
        return {.SetTool = true, .Tool = ToolMode::Zoom};
    case 'S':
        return {.SetTool = true, .Tool = ToolMode::Select};
    case 'P':
        return {.SetTool = true, .Tool = ToolMode::Picker};
    case 'H':
        return {.SetTool = true, .Tool = ToolMode::Hand};
    case 'G':
        return {.Grid = true};
    }
    switch (keyCode) {
    case 33: // PageUp
        return {.Page = -1};
    case 34: // PageDown
        return {.Page = 1};
    case 36: // Home
        return {.Edge = -1};
    case 35: // End
        return {.Edge = 1};
    case 107: // numeric pad +, and the + key of the main block
    case 187:
        return {.Zoom = 1};
    case 109: // numeric pad -, and the - key
    case 189:
        return {.Zoom = -1};
    case 38:  // Up
    case 104: // numeric pad 8
        return {-S, 0};
    case 40:
    case 98:
        return {S, 0};
    case 37:
    case 100:
        return {0, -S};
    case 39:
    case 102:
        return {0, S};
    case 97:
        return {D, -D};
    case 99:
        return {D, D};
    case 103:
        return {-D, -D};
    case 105:
        return {-D, D};
    case 13:
        return {0, 0, true, false};
    case 27:
        return {0, 0, false, true};
    default:
        return {};
    }
}

int PageScroll(int value, int page, int max, const KeyCommand& cmd)
{
    if (cmd.Edge != 0)
        return cmd.Edge < 0 ? 0 : max;
    if (cmd.Page != 0)
        return cmd.Page < 0 ? ScrollBack(value, page) : ScrollForward(value, page, max);
    return value;
}

int StepMagnificationIndex(int index, int step)
{
    const int next = index + step;
    return next >= 0 && next < static_cast<int>(Magnifications.size()) ? next : -1;
}

} // namespace lt
