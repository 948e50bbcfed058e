// The picture window's pointer tools, keys and wheel.
#include <windowsx.h>

#include <utility>

#include "core/file_list.h"
#include "core/app_identity.h"
#include "core/text_rules.h"
#include "viewer/view_mdl.h"
#include "viewer/view_window.h"

namespace lt {

namespace {

constexpr const char* NoRangeSelected = "範囲が選択されていません";

} // namespace

void View::OnStripDown(int x, int y)
{
    if (!InStripRow(y))
        return;
    switch (HitToolStrip(x, y)) {
    case StripButton::Zoom:
        tool_ = ToolMode::Zoom;
        break;
    case StripButton::Select:
        tool_ = ToolMode::Select;
        break;
    case StripButton::Copy:
        copyPressed_ = true;
        break;
    case StripButton::Picker:
        tool_ = ToolMode::Picker;
        break;
    case StripButton::Hand:
        tool_ = ToolMode::Hand;
        break;
    case StripButton::Grid:
        gridShown_ = !gridShown_;
        ReFound();
        break;
    case StripButton::None:
        break;
    }
    ReToolIcon();
}

void View::OnStripUp()
{
    // The press is taken before the capture goes, which would cancel it.
    const bool copy = std::exchange(copyPressed_, false);
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    if (!copy)
        return;
    ReToolIcon();
    CopyRange();
}

void View::OnStripCaptureLost()
{
    if (!copyPressed_)
        return;
    copyPressed_ = false;
    ReToolIcon();
}

void View::CopyRange()
{
    if (!selectionExists_) {
        MessageBoxA(hwnd_, NoRangeSelected, AppTitle, MB_OK);
        return;
    }
    // A range without width or height copies an empty bitmap (the platform
    // makes it 1 x 1, monochrome).
    const PixelRange r = SelectionRange(x1_, y1_, x2_, y2_);
    HDC screen = GetDC(nullptr);
    BitmapDc copy(screen, r.Width, r.Height);
    ReleaseDC(nullptr, screen);
    if (!copy)
        return;
    BitBlt(copy.get(), 0, 0, r.Width, r.Height, image_.Dc(), r.X, r.Y, SRCCOPY);
    if (!OpenClipboard(hwnd_))
        return;
    EmptyClipboard();
    HBITMAP bitmap = copy.release();
    if (!SetClipboardData(CF_BITMAP, bitmap))
        DeleteObject(bitmap); // otherwise the clipboard owns it
    CloseClipboard();
}

void View::ZoomAround(int step, double dx, double dy, const POINT* anchor)
{
    const int next = StepMagnificationIndex(magIndex_, step);
    if (next < 0)
        return;
    {
        ViewLoadingScope loading;
        const auto px = static_cast<float>(ToImageCoord(dx, magnification_));
        const auto py = static_cast<float>(ToImageCoord(dy, magnification_));
        if (!SetMagnificationIndex(next))
            return;
        // Without an anchor, the middle of the view as the new layout left it.
        const double ax = anchor ? anchor->x : viewW_ / 2.0, ay = anchor ? anchor->y : viewH_ / 2.0;
        if (int v = ZoomScrollValue(px, magnification_, dispW_, viewW_, layout_.HMax, ax); v >= 0)
            hValue_ = v;
        if (int v = ZoomScrollValue(py, magnification_, dispH_, viewH_, layout_.VMax, ay); v >= 0)
            vValue_ = v;
        SetBars();
    }
    ReFound();
}

void View::OnAreaDown(UINT msg, int x, int y)
{
    const int dx = RoundHalfEvenInt(x - xOffset_), dy = RoundHalfEvenInt(y - yOffset_);
    switch (tool_) {
    case ToolMode::Zoom:
        ZoomAround(msg == WM_LBUTTONDOWN ? 1 : -1, dx, dy, nullptr);
        break;
    case ToolMode::Hand:
        dragging_ = true;
        anchorX_ = x;
        anchorY_ = y;
        break;
    case ToolMode::Select:
        if (msg == WM_LBUTTONDOWN) {
            x1_ = ClampToImage(ToImageCoord(dx, magnification_), imageW_);
            y1_ = ClampToImage(ToImageCoord(dy, magnification_), imageH_);
            x2_ = x1_, y2_ = y1_; // the range starts empty, not where the last one ended
            selectionExists_ = false;
            selecting_ = true;
        } else {
            selectionExists_ = false;
            selecting_ = false;
            ReFound();
        }
        break;
    case ToolMode::Picker:
        PickColour(x, y);
        break;
    }
}

void View::OnAreaMove(int x, int y)
{
    if (dragging_) {
        {
            ViewLoadingScope loading;
            hValue_ = ClampScroll(RoundHalfEven(hValue_ - (x - anchorX_)), layout_.HMax);
            vValue_ = ClampScroll(RoundHalfEven(vValue_ - (y - anchorY_)), layout_.VMax);
            MoveThumbs();
        }
        ReFound();
        anchorX_ = x;
        anchorY_ = y;
    }
    if (selecting_) {
        x2_ = ClampToImage(ToImageCoord(RoundHalfEvenInt(x - xOffset_), magnification_), imageW_);
        y2_ = ClampToImage(ToImageCoord(RoundHalfEvenInt(y - yOffset_), magnification_), imageH_);
        ReFound();
    }
}

void View::OnAreaUp(int x, int y)
{
    dragging_ = false;
    if (!selecting_)
        return;
    x2_ = ClampToImage(ToImageCoord(RoundHalfEvenInt(x - xOffset_), magnification_), imageW_);
    y2_ = ClampToImage(ToImageCoord(RoundHalfEvenInt(y - yOffset_), magnification_), imageH_);
    selectionExists_ = !(x1_ == x2_ && y1_ == y2_);
    selecting_ = false;
    ReFound();
}

void View::OnAreaCaptureLost()
{
    dragging_ = false;
    if (!selecting_)
        return;
    selectionExists_ = !(x1_ == x2_ && y1_ == y2_);
    selecting_ = false;
    ReFound();
}

void View::PickColour(int x, int y)
{
    if (!surface_ || x < 0 || y < 0 || x >= surfaceW_ || y >= surfaceH_)
        return;
    const COLORREF c = GetPixel(surface_.get(), x, y);
    if (c == CLR_INVALID)
        return;
    char text[16];
    // The platform's formatter: the C runtime's would link a printf engine.
    wsprintfA(text, "&&h%06lX", static_cast<unsigned long>(c & 0xFFFFFF));
    SetWindowTextA(hex_, text);
    swatchBrush_.reset(CreateSolidBrush(c));
    InvalidateRect(swatch_, nullptr, TRUE);
}

void View::OnWheel(int delta, WPARAM keys, POINT screen)
{
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (notches == 0)
        return;
    if (keys & MK_CONTROL) {
        // The picture point under the pointer stays under it; away from the
        // view, the middle of the view is kept.
        POINT p = screen;
        ScreenToClient(area_, &p);
        if (p.x < 0 || p.y < 0 || p.x >= viewW_ || p.y >= viewH_)
            p = {viewW_ / 2, viewH_ / 2};
        const int step = notches > 0 ? 1 : -1;
        for (int i = 0; i < (notches > 0 ? notches : -notches); ++i)
            ZoomAround(step, RoundHalfEvenInt(p.x - xOffset_), RoundHalfEvenInt(p.y - yOffset_), &p);
        return;
    }
    const bool horizontal = (keys & MK_SHIFT) != 0;
    const bool shown = horizontal ? layout_.NeedH : layout_.NeedV;
    if (!shown)
        return;
    int& value = horizontal ? hValue_ : vValue_;
    const int max = horizontal ? layout_.HMax : layout_.VMax;
    // Wheel up (away from the user) moves back towards the top or left.
    for (int i = 0; i < (notches > 0 ? notches : -notches); ++i)
        value = notches > 0 ? ScrollBack(value, KeyScrollStep) : ScrollForward(value, KeyScrollStep, max);
    MoveThumbs();
    ReFound();
}

bool View::OnKeyDown(WPARAM key)
{
    const KeyCommand cmd = KeyCommandFor(static_cast<int>(key), GetKeyState(VK_CONTROL) < 0);
    if (cmd.Close) {
        CloseByUser();
        return false;
    }
    if (cmd.Next) {
        NextPicture();
        return true;
    }
    if (cmd.Copy) {
        CopyRange(); // its message box lets the list close this window: nothing after it
        return true;
    }
    if (cmd.SetTool) {
        tool_ = cmd.Tool;
        ReToolIcon();
        return true;
    }
    if (cmd.Grid) {
        gridShown_ = !gridShown_;
        ReFound();
        return true;
    }
    if (cmd.Zoom != 0) {
        // About the middle of the view, as a zoom click there.
        ZoomAround(cmd.Zoom, viewW_ / 2 - xOffset_, viewH_ / 2 - yOffset_, nullptr);
        return true;
    }
    const int v = vValue_, h = hValue_;
    if (cmd.Page != 0 || cmd.Edge != 0) {
        // Along the vertical bar, or the horizontal one when only that is shown.
        if (layout_.NeedV)
            vValue_ = PageScroll(vValue_, viewH_, layout_.VMax, cmd);
        else if (layout_.NeedH)
            hValue_ = PageScroll(hValue_, viewW_, layout_.HMax, cmd);
    }
    if (cmd.Vertical != 0 && layout_.NeedV)
        vValue_ =
            cmd.Vertical > 0 ? ScrollForward(vValue_, cmd.Vertical, layout_.VMax) : ScrollBack(vValue_, -cmd.Vertical);
    if (cmd.Horizontal != 0 && layout_.NeedH)
        hValue_ = cmd.Horizontal > 0 ? ScrollForward(hValue_, cmd.Horizontal, layout_.HMax)
                                     : ScrollBack(hValue_, -cmd.Horizontal);
    if (vValue_ == v && hValue_ == h)
        return true;
    MoveThumbs();
    ReFound();
    return true;
}

void View::NextPicture()
{
    const int slot = FindViewByDc(ownDc_);
    if (slot == 0)
        return;
    const int index = FindEntry(ViewSlotAt(slot).Path);
    if (index == 0)
        return;
    const int next = FindNextOfKind(index, FileKind::Picture, FileKind::Picture, FileKind::Picture, false);
    if (next != 0)
        AcxtiveFile(next);
}

void View::CloseByUser()
{
    // The slot is freed first, so the list model finds no window to close
    // when it removes the entry below.
    std::string path;
    if (int slot = FindViewByDc(ownDc_); slot != 0) {
        path = ViewSlotAt(slot).Path;
        FreeViewSlot(slot);
    }
    DestroyWindow(hwnd_); // this object is gone from here on
    if (path.empty())
        return;
    if (int index = FindEntry(path); index != 0) {
        RemoveEntry(index);
        RebuildListDisplay("");
    }
}

} // namespace lt
