#include "movie/view_avi.h"

#include <algorithm>

#include "core/file_kind.h"
#include "core/app_identity.h"
#include "resources/resource.h"

namespace lt {

namespace {

// Menu commands of the movie window.
enum : int {
    IdPlayStop = 501,
    IdSeek = 502,
    IdSpeedShow = 503,
    IdSpeedPreset = 510, // + preset index
};

constexpr UINT_PTR TimMovie = 1;
constexpr UINT TimMovieMs = 500;
constexpr UINT SizeVideoFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

constexpr const char* PicAviClass = "LtPicAvi";
constexpr const char* Label1Text = "ｽﾋﾟｰﾄﾞﾒｰﾀｰ →";
constexpr const char* LaRaderText = "位置ﾚｰﾀﾞｰ →";
constexpr const char* PlayText = "再生";
constexpr const char* StopText = "停止";
constexpr const char* SeekText = "巻戻";
constexpr const char* SpeedMenuText = "速度";
constexpr const char* LabelFontFace = "ＭＳ Ｐ明朝";

// What the window shows, for outside observers (tests, benchmarks): 1 while
// the play/stop item reads "停止", and the number in the speed display.
constexpr const char* PlayingProp = "LtMoviePlaying";
constexpr const char* SpeedProp = "LtMovieSpeedShown";

constexpr COLORREF Line1Colour = RGB(0x80, 0x80, 0x80);
constexpr COLORREF Line2Colour = RGB(0xFF, 0xFF, 0xFF);

// Keys given to the picture box are the window's.
LRESULT CALLBACK PicAviProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_KEYDOWN)
        return SendMessageA(GetParent(w), msg, wp, lp);
    return DefWindowProcA(w, msg, wp, lp);
}

// The scroll bar class's own procedure, behind the window's key preview.
WNDPROC g_barProc = nullptr;

void Place(HWND w, const Box& b)
{
    if (w)
        MoveWindow(w, b.Left, b.Top, b.Width, b.Height, TRUE);
}

} // namespace

ViewAvi::~ViewAvi()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool ViewAvi::Load()
{
    if (!hwnd_) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        static const bool registered = [&] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = PicAviProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            wc.lpszClassName = PicAviClass;
            RegisterClassExA(&wc);
            wc.lpfnWndProc = &ViewAvi::WndProcThunk;
            wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MOVIE));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = ClassName;
            return RegisterClassExA(&wc) != 0;
        }();
        if (!registered)
            return false;
        const FrameSize size = MovieWindowSize({240, 180});
        if (!CreateWindowExA(0, ClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                             size.Width, size.Height, nullptr, nullptr, instance, this))
            return false;
    }
    return true;
}

void ViewAvi::Show()
{
    if (hwnd_)
        ShowWindow(hwnd_, SW_SHOW);
}

void ViewAvi::PaintNow()
{
    if (!hwnd_)
        return;
    // The movie before the controls around it. Wine keeps what a window
    // drew until its thread next waits for messages; a wait of no time
    // hands each part to the screen as soon as it is drawn (nothing is
    // dispatched there).
    RedrawWindow(picAvi_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
}

void ViewAvi::Unload()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

LRESULT CALLBACK ViewAvi::WndProcThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<ViewAvi*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ViewAvi*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    LRESULT result = self->WndProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = self->spScroll_ = self->picAvi_ = self->laRader_ = self->sclPos_ = nullptr;
        self->menu_ = nullptr;
        self->labelFont_.reset(); // its labels are gone: a closed window holds nothing
    }
    return result;
}

// The window sees its keys before a focused bar, which would otherwise step
// by one and take Home to its start.
LRESULT CALLBACK ViewAvi::BarProc(HWND bar, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<ViewAvi*>(GetWindowLongPtrA(GetParent(bar), GWLP_USERDATA));
    if (msg == WM_KEYDOWN && self && self->OnKey(wp, lp))
        return 0; // the bar may be gone by now
    return CallWindowProcA(g_barProc, bar, msg, wp, lp);
}

LRESULT ViewAvi::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        return OnLoad() ? 0 : -1;
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED)
            OnSize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize = {MovieMinimumSize.Width, MovieMinimumSize.Height};
        return 0;
    }
    case WM_COMMAND:
        if (lp == 0)
            OnCommand(LOWORD(wp));
        return 0;
    case WM_HSCROLL:
        OnHScroll(reinterpret_cast<HWND>(lp), LOWORD(wp), static_cast<short>(HIWORD(wp)));
        return 0;
    case WM_KEYDOWN:
        if (OnKey(wp, lp))
            return 0;
        return DefWindowProcA(hwnd_, msg, wp, lp);
    case WM_TIMER:
        if (wp == TimMovie && player_)
            player_->Tick();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DESTROY:
        OnUnload();
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

bool ViewAvi::OnLoad()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    menu_ = CreateMenu();
    HMENU speeds = CreatePopupMenu();
    if (!menu_ || !speeds)
        return false;
    AppendMenuA(menu_, MF_STRING, IdPlayStop, PlayText);
    AppendMenuA(menu_, MF_STRING, IdSeek, SeekText);
    for (std::size_t i = 0; i < SpeedPresets.size(); ++i)
        AppendMenuA(speeds, MF_STRING, IdSpeedPreset + i, SpeedPresets[i].Caption);
    AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(speeds), SpeedMenuText);
    AppendMenuA(menu_, MF_STRING, IdSpeedShow, SpeedCaption(MoviePlayer::NormalSpeed).c_str());
    SetMenu(hwnd_, menu_);

    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    labelFont_.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, LabelFontFace));

    const MovieLayout l = LayoutMovie(240, 225);
    auto child = [&](const char* cls, const char* text, DWORD style, const Box& b) {
        HWND w = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, b.Left, b.Top, b.Width,
                                 b.Height, hwnd_, nullptr, instance, nullptr);
        if (w && labelFont_)
            SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
        return w;
    };
    // The position bar lies over the right part of its label: made first,
    // it stays above it.
    sclPos_ = child("SCROLLBAR", "", SBS_HORZ, l.SclPos);
    laRader_ = child("STATIC", LaRaderText, SS_LEFT, l.LaRader);
    child("STATIC", Label1Text, SS_LEFT, l.Label1);
    spScroll_ = child("SCROLLBAR", "", SBS_HORZ, l.SpScroll);
    picAvi_ = child(PicAviClass, "", WS_CLIPCHILDREN, l.PicAvi);
    if (!sclPos_ || !spScroll_ || !picAvi_)
        return false;
    for (HWND bar : {sclPos_, spScroll_})
        g_barProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ViewAvi::BarProc)));
    SetScrollRange(spScroll_, SB_CTL, SpeedMeterMin, SpeedMeterMax, FALSE);
    SetScrollPos(spScroll_, SB_CTL, player_ ? player_->Loaded() : 100, TRUE);
    SetScrollRange(sclPos_, SB_CTL, 0, 0, FALSE);
    SetScrollPos(sclPos_, SB_CTL, 0, TRUE);
    shownPlaying_ = false;
    shownSpeed_ = MoviePlayer::NormalSpeed / 10;
    PublishState();
    SetTimer(hwnd_, TimMovie, TimMovieMs, nullptr);
    return true;
}

void ViewAvi::OnSize(int width, int height)
{
    const MovieLayout l = LayoutMovie(width, height);
    Place(picAvi_, l.PicAvi);
    Place(spScroll_, l.SpScroll);
    Place(laRader_, l.LaRader);
    Place(sclPos_, l.SclPos);
    lineEnd_ = l.LineEnd;
    RECT lines{0, 0, width, 2};
    InvalidateRect(hwnd_, &lines, TRUE);
    if (player_)
        player_->Resized(l.PicAvi.Width, l.PicAvi.Height);
}

void ViewAvi::OnCommand(int id)
{
    if (!player_)
        return;
    if (id == IdPlayStop)
        player_->PlayStop();
    else if (id == IdSeek)
        player_->Rewind();
    else if (id >= IdSpeedPreset && id < IdSpeedPreset + static_cast<int>(SpeedPresets.size()))
        player_->ChooseSpeed(id - IdSpeedPreset);
}

void ViewAvi::OnHScroll(HWND bar, int code, int thumb)
{
    if (!player_ || (bar != spScroll_ && bar != sclPos_))
        return;
    const bool speed = bar == spScroll_;
    const int small = speed ? SpeedMeterSmall : 1;
    const int large = speed ? SpeedMeterLarge : PositionLarge;
    int min = 0, max = 0;
    GetScrollRange(bar, SB_CTL, &min, &max);
    int value = GetScrollPos(bar, SB_CTL);
    switch (code) {
    case SB_LINELEFT: value -= small; break;
    case SB_LINERIGHT: value += small; break;
    case SB_PAGELEFT: value -= large; break;
    case SB_PAGERIGHT: value += large; break;
    case SB_LEFT: value = min; break;
    case SB_RIGHT: value = max; break;
    case SB_THUMBPOSITION: value = thumb; break;
    default: return; // dragging shows the thumb only; the release sets the value
    }
    MoveBar(bar, value);
}

void ViewAvi::MoveBar(HWND bar, int value)
{
    int min = 0, max = 0;
    GetScrollRange(bar, SB_CTL, &min, &max);
    value = std::clamp(value, min, max);
    SetScrollPos(bar, SB_CTL, value, TRUE);
    if (bar == spScroll_)
        player_->SpeedMeterMoved(value);
    else
        player_->PositionMoved(value);
}

bool ViewAvi::OnKey(WPARAM key, LPARAM flags)
{
    const MovieKeyCommand cmd = MovieKeyFor(static_cast<int>(key));
    if (cmd.Action == MovieKey::None || !player_)
        return false;
    const bool repeated = (flags & (LPARAM{1} << 30)) != 0;
    if (repeated && !KeyRepeats(cmd.Action))
        return true;
    const int sign = cmd.Action == MovieKey::PositionOn || cmd.Action == MovieKey::Faster ? 1 : -1;
    switch (cmd.Action) {
    case MovieKey::PlayStop:
        player_->PlayStop();
        break;
    case MovieKey::Rewind:
        player_->Rewind();
        break;
    case MovieKey::Preset:
        player_->ChooseSpeed(cmd.Preset);
        break;
    case MovieKey::PositionBack:
    case MovieKey::PositionOn: {
        // Like the mouse: the bar does not move while it is locked (playing).
        if (!IsWindowEnabled(sclPos_))
            break;
        int min = 0, max = 0;
        GetScrollRange(sclPos_, SB_CTL, &min, &max);
        MoveBar(sclPos_, GetScrollPos(sclPos_, SB_CTL) + sign * PositionKeyStep(max));
        break;
    }
    case MovieKey::Slower:
    case MovieKey::Faster:
        MoveBar(spScroll_, GetScrollPos(spScroll_, SB_CTL) + sign * SpeedMeterSmall);
        break;
    case MovieKey::None:
        break;
    }
    return true;
}

void ViewAvi::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    GdiObject grey(CreatePen(PS_SOLID, 1, Line1Colour));
    GdiObject white(CreatePen(PS_SOLID, 1, Line2Colour));
    {
        SelectObjectScope pen(dc, grey.get());
        MoveToEx(dc, 2, 0, nullptr);
        LineTo(dc, lineEnd_, 0);
    }
    {
        SelectObjectScope pen(dc, white.get());
        MoveToEx(dc, 2, 1, nullptr);
        LineTo(dc, lineEnd_, 1);
    }
    EndPaint(hwnd_, &ps);
}

void ViewAvi::OnUnload()
{
    KillTimer(hwnd_, TimMovie);
    if (player_)
        player_->CloseMovie();
    for (const char* name : {PlayingProp, SpeedProp})
        RemovePropA(hwnd_, name);
}

// What the window shows, as numbers another process can read: the tests and
// tools look at the window through them.
void ViewAvi::PublishState()
{
    SetPropA(hwnd_, PlayingProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(shownPlaying_ ? 1 : 0)));
    SetPropA(hwnd_, SpeedProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(shownSpeed_)));
}

std::uintptr_t ViewAvi::PicAvi() const
{
    return reinterpret_cast<std::uintptr_t>(picAvi_);
}

void ViewAvi::SetTitle(const std::string& title)
{
    if (hwnd_)
        SetWindowTextA(hwnd_, title.c_str());
}

void ViewAvi::SetOuterSize(FrameSize size)
{
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, 0, 0, size.Width, size.Height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ViewAvi::SizeVideo(std::uintptr_t video, int width, int height)
{
    HWND w = reinterpret_cast<HWND>(video);
    if (!w || !IsWindow(w))
        return;
    SetWindowPos(w, nullptr, 0, 0, width, height, SizeVideoFlags);
    // The video only shows the movie: disabled, it never takes the focus,
    // which then stays where the window's keys are seen.
    EnableWindow(w, FALSE);
}

void ViewAvi::RedrawMenuBar()
{
    // A window not yet shown gets its menu bar laid out by the sizing for
    // its movie (SetOuterSize) and drawn when it shows.
    if (IsWindowVisible(hwnd_))
        DrawMenuBar(hwnd_);
}

void ViewAvi::SetPlayCaption(bool playing)
{
    if (!hwnd_ || !menu_)
        return;
    ModifyMenuA(menu_, IdPlayStop, MF_BYCOMMAND | MF_STRING, IdPlayStop, playing ? StopText : PlayText);
    RedrawMenuBar();
    shownPlaying_ = playing;
    PublishState();
}

void ViewAvi::SetSpeedCaption(int movieSpeed)
{
    if (!hwnd_ || !menu_)
        return;
    ModifyMenuA(menu_, IdSpeedShow, MF_BYCOMMAND | MF_STRING, IdSpeedShow, SpeedCaption(movieSpeed).c_str());
    RedrawMenuBar();
    shownSpeed_ = movieSpeed / 10;
    PublishState();
}

void ViewAvi::SetSpeedMeter(int value)
{
    if (spScroll_)
        SetScrollPos(spScroll_, SB_CTL, value, TRUE);
}

void ViewAvi::SetPosRange(int max)
{
    if (sclPos_)
        SetScrollRange(sclPos_, SB_CTL, 0, max, TRUE);
}

void ViewAvi::SetPos(int value)
{
    if (sclPos_)
        SetScrollPos(sclPos_, SB_CTL, value, TRUE);
}

void ViewAvi::SetPosEnabled(bool enabled)
{
    if (!sclPos_)
        return;
    // A disabled bar loses the focus to nobody, and keys then reach no
    // window: the window takes it first.
    if (!enabled && GetFocus() == sclPos_)
        SetFocus(hwnd_);
    EnableWindow(sclPos_, enabled);
}

bool ViewAvi::FileExists(const std::string& path)
{
    return lt::FileExists(path);
}

std::string ViewAvi::ShortPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

void ViewAvi::ShowMessage(const std::string& text)
{
    MessageBoxA(hwnd_, text.c_str(), AppTitle, MB_OK);
}

void ViewAvi::PumpMessages()
{
    lt::PumpMessages();
}

} // namespace lt
