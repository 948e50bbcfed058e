// Geometry of the picture window: its size on opening, the view layout,
// offsets, grid lines, coordinate conversions, tool strip hit areas,
// selections and scroll steps. No platform calls here.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace lt {

// The magnification selector, in list order (percent).
inline constexpr std::array<int, 15> Magnifications = {50,  75,  100, 200,  300,  400,  500, 600,
                                                       700, 800, 900, 1000, 1200, 1400, 1600};
inline constexpr int DefaultMagnificationIndex = 2; // "100%"

// Displayed sizes, scroll ranges and offsets stay within 16 bits.
inline constexpr int MaxDisplayedSize = 32767;

inline constexpr int ScrollBarThickness = 17;
inline constexpr int StripHeight = 30; // the tool strip above the view, in the window size rule
inline constexpr int ViewTop = 24;     // PicView's top in the client area
inline constexpr int MinOuterWidth = 112;
inline constexpr int MinOuterHeight = 145;

struct ScreenMetrics {
    int Sw, Sh; // screen, pixels
    int Fx;     // 2 x SM_CXFRAME
    int Fy;     // 2 x SM_CYFRAME + SM_CYSIZE
};

struct OuterSize {
    int Width, Height;
    bool operator==(const OuterSize&) const = default;
};

// Outer window size for a picture of iw x ih. Small or odd pictures (1 x 1,
// long thin strips) still get a window of at least the minimum size, and no
// window is made larger than the screen.
OuterSize PictureWindowSize(int iw, int ih, const ScreenMetrics& m);

// Centred placement of a window of the given size.
int CentredPosition(int screen, int size);

// round(magnification / 100 x size), halves to even.
int DisplayedSize(int imageSize, int magnification);

// True when the picture at that magnification fits the 16-bit limits.
bool MagnificationFits(int imageWidth, int imageHeight, int magnification);

struct ViewLayout {
    int ViewWidth = 0, ViewHeight = 0;
    bool NeedV = false, NeedH = false; // vertical / horizontal bar shown
    int VMax = 0, HMax = 0;            // hidden parts
    bool operator==(const ViewLayout&) const = default;
};

// Client size to view area and scroll bars (two passes: one bar can make
// room short for the other). frameY is 2 x SM_CYFRAME + SM_CYSIZE.
ViewLayout LayoutView(int clientWidth, int clientHeight, int frameY, int displayedWidth, int displayedHeight);

// Position of the picture's left (top) edge in the view: scrolled when it
// is larger than the view, else centred (half rounded to even).
int ViewOffset(int displayed, int view, int scrollValue);

struct GridLines {
    std::vector<int> Ys; // horizontal lines, from x offset to x offset + displayed width
    std::vector<int> Xs; // vertical lines, from y offset to y offset + displayed height
};

// The 16-picture-pixel grid for the current view.
GridLines ComputeGrid(int magnification, int xOffset, int yOffset, int displayedWidth, int displayedHeight,
                      int viewWidth, int viewHeight);

// View distance to picture pixels.
double ToImageCoord(double d, int magnification);
// Picture coordinate to view distance; roundUp adds 0.75 first.
std::int16_t ToViewCoord(double v, int magnification, bool roundUp);

// Tool strip.
enum class StripButton { None, Zoom, Select, Copy, Picker, Hand, Grid };
enum class ToolMode : std::int16_t { Zoom = 0, Hand = 1, Select = 2, Picker = 3 };

inline constexpr int StripButtonWidth = 26;
inline constexpr int StripButtonHeight = 22;
struct StripCell {
    int X;       // where the button is drawn, y = 0
    int IconRow; // y of its icon in the strip picture (raised at x 0, pressed at x 26)
    StripButton Button;
};
inline constexpr std::array<StripCell, 6> StripCells = {{{96, 22, StripButton::Zoom},
                                                         {121, 0, StripButton::Select},
                                                         {146, 88, StripButton::Copy},
                                                         {171, 66, StripButton::Picker},
                                                         {196, 44, StripButton::Hand},
                                                         {221, 110, StripButton::Grid}}};

// The button a press at (x, y) on the window lands on.
StripButton HitToolStrip(int x, int y);
// True when a press at that y counts as a press in the strip row.
bool InStripRow(int y);

// Selection corners are picture pixels clamped to the picture.
float ClampToImage(double v, int size);

struct PixelRange {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool operator==(const PixelRange&) const = default;
};
// The range a selection copies, corners rounded and ordered.
PixelRange SelectionRange(float x1, float y1, float x2, float y2);

struct FrameRect {
    int Left, Top, Right, Bottom;
    bool operator==(const FrameRect&) const = default;
};
// Where the selection frame is drawn in the view.
FrameRect SelectionFrame(float x1, float y1, float x2, float y2, int magnification, int xOffset, int yOffset);

// Scroll value that puts the picture point p (picture pixels) at anchor in
// the view after a zoom to newMagnification (a zoom click anchors at the
// middle, the wheel under the pointer); -1 when that direction does not
// scroll.
int ZoomScrollValue(float p, int newMagnification, int displayed, int view, int max, double anchor);

int ClampScroll(long long value, int max);
int ScrollForward(int value, int step, int max);
int ScrollBack(int value, int step);

// What a key does to the view: bar steps (negative = back), applied vertical
// first, or a command.
struct KeyCommand {
    int Vertical = 0, Horizontal = 0;
    bool Next = false, Close = false;
    // The window's own keys beyond those: the focused control does not get
    // them too (PageDown would also move the selector).
    int Page = 0; // a view's length back (-1) or on (+1)
    int Edge = 0; // to the start (-1) or the end (+1)
    int Zoom = 0; // one step down (-1) or up (+1) the magnification list
    bool Copy = false, Grid = false;
    bool SetTool = false; // Tool chosen, as with the strip's buttons
    ToolMode Tool = ToolMode::Zoom;
    bool Own() const { return Page || Edge || Zoom || Copy || Grid || SetTool; }
    bool operator==(const KeyCommand&) const = default;
};
KeyCommand KeyCommandFor(int keyCode, bool ctrl = false);

// Where a page or edge key leaves a bar; page is the view's length.
int PageScroll(int value, int page, int max, const KeyCommand& cmd);

inline constexpr int KeyScrollStep = 10;

// The selector index one step up or down, or -1 at the ends.
int StepMagnificationIndex(int index, int step);

} // namespace lt
