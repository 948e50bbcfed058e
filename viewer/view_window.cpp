#include "viewer/view_window.h"

#include <windowsx.h>

#include <memory>

#include "resources/resource.h"
#include "viewer/view_mdl.h"

namespace lt {

namespace {

constexpr int ComboId = 301;
constexpr COLORREF ViewBack = RGB(0x80, 0x80, 0x80);

constexpr const char* MagnificationTitle = "倍率";
constexpr const char* HexColourStart = "&&H00000";
constexpr const char* ViewFontFace = "ＭＳ 明朝";

// Shared by every picture window for the whole run.
struct ViewShared {
    GdiObject font;
    GdiObject icons; // the tool strip picture: raised column at x 0, pressed at x 26
    MemoryDc iconDc;
    WNDPROC comboProc = nullptr, barProc = nullptr;
    bool registered = false;
};

ViewShared& Shared()
{
    static ViewShared s;
    return s;
}

bool RegisterClasses(HINSTANCE instance, WNDPROC viewProc, WNDPROC areaProc)
{
    ViewShared& s = Shared();
    if (s.registered)
        return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC; // its DC is the window's key in the table
    wc.lpfnWndProc = viewProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PICTURE));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = View::ClassName;
    if (!RegisterClassExA(&wc))
        return false;
    WNDCLASSEXA area{};
    area.cbSize = sizeof area;
    area.lpfnWndProc = areaProc;
    area.hInstance = instance;
    area.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    area.lpszClassName = View::AreaClassName;
    if (!RegisterClassExA(&area))
        return false;
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    s.iconDc.reset(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    s.font.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, ViewFontFace));
    s.icons.reset(LoadImageA(instance, MAKEINTRESOURCEA(IDB_TOOL_ICONS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (s.iconDc && s.icons)
        SelectObject(s.iconDc.get(), s.icons.get());
    s.registered = true;
    return true;
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id = 0)
{
    HWND c = CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (c && Shared().font)
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(Shared().font.get()), FALSE);
    return c;
}

// Keeps the outer size at or above the minimum; the layout would snap it back.
void MinimumTrack(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = MinOuterWidth;
    info->ptMinTrackSize.y = MinOuterHeight;
}

int FrameY()
{
    return 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE);
}

} // namespace

View* View::Create(const std::string& caption, PictureImage image, OuterSize size, POINT pos)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterClasses(instance, &View::WndProcThunk, &View::AreaProcThunk))
        return nullptr;
    // Owned here until the window exists; from then on the window owns it
    // and deletes it when it is destroyed.
    std::unique_ptr<View> view(new View(std::move(image)));
    HWND hwnd = CreateWindowExA(0, ClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, pos.x, pos.y,
                                size.Width, size.Height, nullptr, nullptr, instance, view.get());
    if (!hwnd)
        return nullptr;
    view->ownedByWindow_ = true;
    return view.release();
}

LRESULT CALLBACK View::WndProcThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (msg == WM_GETMINMAXINFO) {
        // Also asked before the window knows its object, when it is created.
        MinimumTrack(reinterpret_cast<MINMAXINFO*>(lp));
        return 0;
    }
    auto* self = reinterpret_cast<View*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        // A slot still naming this window (destroyed from outside) is freed.
        if (int slot = FindViewByDc(self->ownDc_); slot != 0 && ViewSlotAt(slot).Window == self)
            FreeViewSlot(slot);
        self->hwnd_ = nullptr;
        if (self->ownedByWindow_)
            delete self;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return self->WndProc(msg, wp, lp);
}

LRESULT CALLBACK View::AreaProcThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<View*>(GetWindowLongPtrA(GetParent(hwnd), GWLP_USERDATA));
    if (!self || self->area_ != hwnd)
        return DefWindowProcA(hwnd, msg, wp, lp);
    return self->AreaProc(msg, wp, lp);
}

// Key preview: the window sees a key before the focused child, which then
// handles it in its own way unless the window closed meanwhile.
LRESULT CALLBACK View::PreviewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<View*>(GetWindowLongPtrA(GetParent(hwnd), GWLP_USERDATA));
    WNDPROC original = Shared().barProc;
    if (self ? hwnd == self->combo_ : false)
        original = Shared().comboProc;
    else if (!self) {
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (lstrcmpiA(cls, "ComboBox") == 0)
            original = Shared().comboProc;
    }
    if (msg == WM_KEYDOWN && self) {
        const bool own = KeyCommandFor(static_cast<int>(wp), GetKeyState(VK_CONTROL) < 0).Own();
        if (!self->OnKeyDown(wp) || !IsWindow(hwnd) || own)
            return 0; // the window closed, or the key was the window's alone
    }
    if (msg == WM_MOUSEWHEEL && self) {
        // The wheel follows the focus; over the picture it is the picture's
        // (a focused selector would change the magnification instead).
        RECT area{};
        GetWindowRect(self->area_, &area);
        if (PtInRect(&area, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}))
            return SendMessageA(self->hwnd_, msg, wp, lp);
    }
    return CallWindowProcA(original, hwnd, msg, wp, lp);
}

LRESULT View::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        return OnLoad() ? 0 : -1;
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED)
            Layout();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd_, &ps);
        EndPaint(hwnd_, &ps);
        ReToolIcon();
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == ComboId && HIWORD(wp) == CBN_SELCHANGE) {
            int index = static_cast<int>(SendMessageA(combo_, CB_GETCURSEL, 0, 0));
            if (index >= 0)
                SetMagnificationIndex(index);
        }
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(reinterpret_cast<HWND>(lp), LOWORD(wp));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == swatch_ && swatchBrush_)
            return reinterpret_cast<LRESULT>(swatchBrush_.get());
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetCapture(hwnd_);
        OnStripDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnStripUp();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_)
            OnStripCaptureLost();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wp);
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_KEYSTATE_WPARAM(wp), {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_CLOSE:
        CloseByUser();
        return 0;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

bool View::OnLoad()
{
    ownDc_ = GetDC(hwnd_);
    label_ = Child(hwnd_, "STATIC", MagnificationTitle, WS_VISIBLE, 4, 4, 24, 12);
    combo_ = Child(hwnd_, "COMBOBOX", "", WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 34, 0, 57, 300, ComboId);
    swatch_ = Child(hwnd_, "STATIC", "", WS_VISIBLE, 248, 2, 24, 18);
    hex_ = Child(hwnd_, "STATIC", HexColourStart, WS_VISIBLE, 278, 4, 48, 12);
    area_ = CreateWindowExA(0, AreaClassName, "", WS_CHILD | WS_VISIBLE, 0, ViewTop, 1, 1, hwnd_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    vBar_ = Child(hwnd_, "SCROLLBAR", "", SBS_VERT, 0, ViewTop, ScrollBarThickness, 1);
    hBar_ = Child(hwnd_, "SCROLLBAR", "", SBS_HORZ, 0, ViewTop, 1, ScrollBarThickness);
    if (!ownDc_ || !combo_ || !area_ || !vBar_ || !hBar_)
        return false;
    ViewShared& s = Shared();
    s.comboProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(combo_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&View::PreviewProc)));
    s.barProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(vBar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&View::PreviewProc)));
    SetWindowLongPtrA(hBar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&View::PreviewProc));
    for (std::size_t i = 0; i < Magnifications.size(); ++i) {
        std::string text = std::to_string(Magnifications[i]) + "%";
        auto at = SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(at), Magnifications[i]);
    }
    magnification_ = 100;
    tool_ = ToolMode::Zoom;
    return true;
}

void View::SetInfo(int imageHeight, int imageWidth)
{
    imageH_ = imageHeight;
    imageW_ = imageWidth;
    SetMagnificationIndex(DefaultMagnificationIndex);
}

bool View::SetMagnificationIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(Magnifications.size()))
        return false;
    const int mag = Magnifications[static_cast<std::size_t>(index)];
    if (!MagnificationFits(imageW_, imageH_, mag)) {
        // Too large to show: the selector stays where it was.
        SendMessageA(combo_, CB_SETCURSEL, static_cast<WPARAM>(magIndex_), 0);
        return false;
    }
    magIndex_ = index;
    if (SendMessageA(combo_, CB_GETCURSEL, 0, 0) != index)
        SendMessageA(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    magnification_ = mag;
    dispH_ = DisplayedSize(imageH_, mag);
    dispW_ = DisplayedSize(imageW_, mag);
    Layout();
    return true;
}

void View::Layout()
{
    if (!hwnd_ || IsIconic(hwnd_))
        return;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    const int ow = outer.right - outer.left, oh = outer.bottom - outer.top;
    if (ow < MinOuterWidth || oh < MinOuterHeight) {
        // The resize comes back here with the snapped size.
        SetWindowPos(hwnd_, nullptr, 0, 0, std::max(ow, MinOuterWidth), std::max(oh, MinOuterHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    layout_ = LayoutView(client.right, client.bottom, FrameY(), dispW_, dispH_);
    viewW_ = layout_.ViewWidth;
    viewH_ = layout_.ViewHeight;
    MoveWindow(area_, 0, ViewTop, viewW_, viewH_, TRUE);
    if (layout_.NeedV)
        MoveWindow(vBar_, viewW_, ViewTop, ScrollBarThickness, viewH_, TRUE);
    if (layout_.NeedH)
        MoveWindow(hBar_, 0, ViewTop + viewH_, viewW_, ScrollBarThickness, TRUE);
    SetBars();
    ShowWindow(vBar_, layout_.NeedV ? SW_SHOWNA : SW_HIDE);
    ShowWindow(hBar_, layout_.NeedH ? SW_SHOWNA : SW_HIDE);

    // The view's surface follows the view's size.
    const int w = std::max(1, viewW_), h = std::max(1, viewH_);
    if (w != surfaceW_ || h != surfaceH_ || !surface_) {
        surface_ = BitmapDc(ownDc_, w, h);
        surfaceW_ = w;
        surfaceH_ = h;
    }
    ReFound();
}

void View::SetBars()
{
    vValue_ = ClampScroll(vValue_, layout_.VMax);
    hValue_ = ClampScroll(hValue_, layout_.HMax);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL, 0, layout_.VMax, 0, vValue_, 0};
    SetScrollInfo(vBar_, SB_CTL, &si, TRUE);
    si.nMax = layout_.HMax;
    si.nPos = hValue_;
    SetScrollInfo(hBar_, SB_CTL, &si, TRUE);
}

void View::MoveThumbs()
{
    // The picture moves at once; the thumbs follow on the next paint (a
    // synchronous bar redraw costs more than the whole view under Wine).
    SetScrollPos(vBar_, SB_CTL, vValue_, FALSE);
    SetScrollPos(hBar_, SB_CTL, hValue_, FALSE);
    InvalidateRect(vBar_, nullptr, FALSE);
    InvalidateRect(hBar_, nullptr, FALSE);
}

void View::OnScroll(HWND bar, int code)
{
    const bool vertical = bar == vBar_;
    if (!vertical && bar != hBar_)
        return;
    int& value = vertical ? vValue_ : hValue_;
    const int max = vertical ? layout_.VMax : layout_.HMax;
    constexpr int SmallChange = 5, LargeChange = 20;
    switch (code) {
    case SB_LINEUP:
        value = ScrollBack(value, SmallChange);
        break;
    case SB_LINEDOWN:
        value = ScrollForward(value, SmallChange, max);
        break;
    case SB_PAGEUP:
        value = ScrollBack(value, LargeChange);
        break;
    case SB_PAGEDOWN:
        value = ScrollForward(value, LargeChange, max);
        break;
    case SB_TOP:
        value = 0;
        break;
    case SB_BOTTOM:
        value = max;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(bar, SB_CTL, &si);
        value = ClampScroll(si.nTrackPos, max);
        break;
    }
    default:
        return;
    }
    SetScrollPos(bar, SB_CTL, value, TRUE);
    ReFound();
}

void View::ReFound()
{
    if (ViewLoading || !surface_)
        return;
    HDC dc = surface_.get();
    SetDcBack(dc, true, 0);
    RECT all{0, 0, surfaceW_, surfaceH_};
    SetBkColor(dc, ViewBack);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    yOffset_ = ViewOffset(dispH_, viewH_, vValue_);
    xOffset_ = ViewOffset(dispW_, viewW_, hValue_);
    if (magnification_ >= 100 && magnification_ % 100 == 0) {
        // Whole-number scales: only the picture pixels in sight are stretched,
        // which gives the same pixels as stretching the whole picture.
        const int k = magnification_ / 100;
        const int sx = xOffset_ < 0 ? -xOffset_ / k : 0, sy = yOffset_ < 0 ? -yOffset_ / k : 0;
        const int sw = std::min(imageW_ - sx, viewW_ / k + 2), sh = std::min(imageH_ - sy, viewH_ / k + 2);
        if (sw > 0 && sh > 0)
            StretchBlt(dc, xOffset_ + sx * k, yOffset_ + sy * k, sw * k, sh * k, image_.Dc(), sx, sy, sw, sh, SRCCOPY);
    } else {
        StretchBlt(dc, xOffset_, yOffset_, dispW_, dispH_, image_.Dc(), 0, 0, imageW_, imageH_, SRCCOPY);
    }
    if (gridShown_)
        DrawGrid(dc);
    if (selecting_ || selectionExists_)
        DrawSelection(dc);
    HDC target = GetDC(area_);
    PaintArea(target);
    ReleaseDC(area_, target);
    ReToolIcon();
}

void View::DrawGrid(HDC dc)
{
    GdiObject pen(CreatePen(PS_DOT, 1, RGB(0, 0, 0x80)));
    SelectObjectScope select(dc, pen.get());
    const int oldRop = SetROP2(dc, R2_NOT);
    SetDcBack(dc, true, 0);
    const GridLines g = ComputeGrid(magnification_, xOffset_, yOffset_, dispW_, dispH_, viewW_, viewH_);
    for (int y : g.Ys) {
        MoveToEx(dc, xOffset_, y, nullptr);
        LineTo(dc, xOffset_ + dispW_, y);
    }
    for (int x : g.Xs) {
        MoveToEx(dc, x, yOffset_, nullptr);
        LineTo(dc, x, yOffset_ + dispH_);
    }
    SetROP2(dc, oldRop);
}

void View::DrawSelection(HDC dc)
{
    const FrameRect f = SelectionFrame(x1_, y1_, x2_, y2_, magnification_, xOffset_, yOffset_);
    GdiObject pen(CreatePen(PS_DOT, 1, RGB(0xFF, 0xFF, 0xFF)));
    SelectObjectScope select(dc, pen.get());
    const int oldRop = SetROP2(dc, R2_NOT);
    SetDcBack(dc, false, 0);
    MoveToEx(dc, f.Right, f.Bottom, nullptr);
    LineTo(dc, f.Left, f.Bottom);
    LineTo(dc, f.Left, f.Top);
    LineTo(dc, f.Right, f.Top);
    LineTo(dc, f.Right, f.Bottom);
    SetROP2(dc, oldRop);
    SetDcBack(dc, true, 0);
}

void View::PaintArea(HDC target)
{
    if (surface_)
        BitBlt(target, 0, 0, surfaceW_, surfaceH_, surface_.get(), 0, 0, SRCCOPY);
}

LRESULT View::AreaProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(area_, &ps);
        PaintArea(dc);
        EndPaint(area_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus(hwnd_); // keys go to the window from here on
        SetCapture(area_);
        OnAreaDown(msg, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_MOUSEMOVE:
        OnAreaMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        // The release first: giving the capture up would end the drag early.
        OnAreaUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        if (GetCapture() == area_)
            ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != area_)
            OnAreaCaptureLost();
        return 0;
    }
    return DefWindowProcA(area_, msg, wp, lp);
}

void View::ReToolIcon()
{
    HDC icons = Shared().iconDc.get();
    if (!ownDc_ || !icons || !Shared().icons)
        return;
    for (const StripCell& cell : StripCells) {
        bool pressed = false;
        switch (cell.Button) {
        case StripButton::Zoom:
            pressed = tool_ == ToolMode::Zoom;
            break;
        case StripButton::Select:
            pressed = tool_ == ToolMode::Select;
            break;
        case StripButton::Copy:
            pressed = copyPressed_;
            break;
        case StripButton::Picker:
            pressed = tool_ == ToolMode::Picker;
            break;
        case StripButton::Hand:
            pressed = tool_ == ToolMode::Hand;
            break;
        case StripButton::Grid:
            pressed = gridShown_;
            break;
        case StripButton::None:
            break;
        }
        BitBlt(ownDc_, cell.X, 0, StripButtonWidth, StripButtonHeight, icons, pressed ? StripButtonWidth : 0,
               cell.IconRow, SRCCOPY);
    }
}

void View::Show()
{
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void View::Activate()
{
    if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

void View::Unload()
{
    DestroyWindow(hwnd_); // deletes this
}

} // namespace lt
