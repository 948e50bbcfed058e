// Picture window commands (windows of class LumatroveView):
//   views                  one row per picture window: hwnd, outer left top
//                          width height, title
//   view-state HWND        view area (screen rect), bars (shown, max, value),
//                          selector text, colour readout, foreground; as
//                          key=value lines
//   metrics                screen width, height, 2 x frame x, 2 x frame y +
//                          caption button height
//   view-click HWND X Y [right]   press and release in the view area
//   view-drag HWND X1 Y1 X2 Y2    left drag in the view area
//   view-strip HWND X Y [post]    press and release on the tool strip
//   view-key HWND VK [combo]      key down and up (to the selector if asked)
//   view-wheel HWND DELTA [ctrl|shift]   wheel over the view's middle
//   view-combo HWND INDEX  pick a selector line as a user would
//   view-close HWND        the close box
//   clip                   clipboard bitmap: "W H", then one row of RRGGBB
//                          per line
#include "viewer.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace lt::probe {

namespace {

constexpr UINT SendTimeoutMs = 30000;

void Out(const std::string& s)
{
    DWORD put = 0;
    std::string line = s + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
}

std::string Utf8(const wchar_t* w)
{
    char buf[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

long Num(const std::wstring& s)
{
    return std::wcstol(s.c_str(), nullptr, 0);
}

HWND ChildOfClass(HWND parent, const wchar_t* cls, int nth = 0)
{
    HWND c = nullptr;
    for (int i = 0; i <= nth; ++i)
        if (!(c = FindWindowExW(parent, c, cls, nullptr)))
            return nullptr;
    return c;
}

HWND Area(HWND view)
{
    return ChildOfClass(view, L"LumatroveViewArea");
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, SendTimeoutMs, &r) != 0;
}

BOOL CALLBACK AddView(HWND w, LPARAM)
{
    wchar_t cls[64] = {}, title[512] = {};
    GetClassNameW(w, cls, 64);
    if (std::wcscmp(cls, L"LumatroveView") != 0 || !IsWindowVisible(w))
        return TRUE;
    GetWindowTextW(w, title, 512);
    RECT r{};
    GetWindowRect(w, &r);
    char head[128];
    std::snprintf(head, sizeof head, "0x%08lX\t%ld %ld %ld %ld\t",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)), r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    Out(head + Utf8(title));
    return TRUE;
}

std::string BarState(HWND bar)
{
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(bar, SB_CTL, &si);
    return std::to_string(IsWindowVisible(bar) ? 1 : 0) + " " + std::to_string(si.nMax) + " " + std::to_string(si.nPos);
}

int State(HWND view)
{
    HWND area = Area(view);
    if (!area)
        return 1;
    RECT a{};
    GetWindowRect(area, &a);
    char s[128];
    std::snprintf(s, sizeof s, "area=%ld %ld %ld %ld", a.left, a.top, a.right - a.left, a.bottom - a.top);
    Out(s);
    // The vertical bar is created first.
    Out("vbar=" + BarState(ChildOfClass(view, L"ScrollBar", 0)));
    Out("hbar=" + BarState(ChildOfClass(view, L"ScrollBar", 1)));
    HWND combo = ChildOfClass(view, L"ComboBox");
    wchar_t text[64] = {};
    LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (sel >= 0)
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
    Out("mag=" + Utf8(text));
    // The colour readout is the last label.
    HWND label = nullptr;
    for (HWND c2 = ChildOfClass(view, L"Static"); c2; c2 = FindWindowExW(view, c2, L"Static", nullptr))
        label = c2;
    wchar_t hex[64] = {};
    GetWindowTextW(label, hex, 64);
    Out("hex=" + Utf8(hex));
    Out(std::string("foreground=") + (GetForegroundWindow() == view ? "1" : "0"));
    return 0;
}

int Clip()
{
    if (!OpenClipboard(nullptr))
        return 1;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) {
        CloseClipboard();
        Out("none");
        return 0;
    }
    const int w = info.bmWidth, h = info.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> px(static_cast<size_t>(w) * static_cast<size_t>(h));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    Out(std::to_string(w) + " " + std::to_string(h));
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            char p[8];
            std::snprintf(p, sizeof p, "%06lX",
                          static_cast<unsigned long>(px[static_cast<size_t>(y * w + x)] & 0xFFFFFF));
            row += p;
        }
        Out(row);
    }
    return 0;
}

} // namespace

bool RunViewerCommand(const std::wstring& name, const std::vector<std::wstring>& a, int& code)
{
    code = 0;
    if (name == L"views") {
        EnumWindows(AddView, 0);
        return true;
    }
    if (name == L"metrics") {
        char s[96];
        std::snprintf(s, sizeof s, "%d %d %d %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                      2 * GetSystemMetrics(SM_CXFRAME), 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE));
        Out(s);
        return true;
    }
    if (name == L"clip") {
        code = Clip();
        return true;
    }
    if (name.rfind(L"view-", 0) != 0)
        return false;
    HWND view =
        a.empty() ? nullptr : reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoul(a[0].c_str(), nullptr, 0)));
    if (!view || !IsWindow(view)) {
        code = 1;
        return true;
    }
    auto arg = [&](size_t i) { return i < a.size() ? Num(a[i]) : 0; };
    auto has = [&](const wchar_t* word) { return a.size() > 1 && a.back() == word; };
    HWND area = Area(view);
    bool ok = true;
    if (name == L"view-state") {
        code = State(view);
    } else if (name == L"view-click") {
        LPARAM lp = MAKELPARAM(arg(1), arg(2));
        if (has(L"right"))
            ok = Send(area, WM_RBUTTONDOWN, MK_RBUTTON, lp) && Send(area, WM_RBUTTONUP, 0, lp);
        else
            ok = Send(area, WM_LBUTTONDOWN, MK_LBUTTON, lp) && Send(area, WM_LBUTTONUP, 0, lp);
    } else if (name == L"view-drag") {
        const long x1 = arg(1), y1 = arg(2), x2 = arg(3), y2 = arg(4);
        ok = Send(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, y1)) &&
             Send(area, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x1 + x2) / 2, (y1 + y2) / 2)) &&
             Send(area, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, y2)) &&
             Send(area, WM_LBUTTONUP, 0, MAKELPARAM(x2, y2));
    } else if (name == L"view-strip") {
        LPARAM lp = MAKELPARAM(arg(1), arg(2));
        if (has(L"post")) {
            PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, lp);
            PostMessageW(view, WM_LBUTTONUP, 0, lp);
        } else {
            ok = Send(view, WM_LBUTTONDOWN, MK_LBUTTON, lp) && Send(view, WM_LBUTTONUP, 0, lp);
        }
    } else if (name == L"view-key") {
        HWND target = has(L"combo") ? ChildOfClass(view, L"ComboBox") : view;
        const WPARAM vk = static_cast<WPARAM>(arg(1));
        ok = Send(target, WM_KEYDOWN, vk, 1);
        if (ok && IsWindow(target))
            ok = Send(target, WM_KEYUP, vk, 1 | (1L << 30) | (1L << 31));
    } else if (name == L"view-wheel") {
        RECT r{};
        GetWindowRect(area, &r);
        WPARAM keys = has(L"ctrl") ? MK_CONTROL : has(L"shift") ? MK_SHIFT : 0;
        ok = Send(view, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<short>(arg(1))),
                  MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    } else if (name == L"view-combo") {
        HWND combo = ChildOfClass(view, L"ComboBox");
        ok = Send(combo, CB_SETCURSEL, static_cast<WPARAM>(arg(1)), 0) &&
             Send(view, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    } else if (name == L"view-close") {
        PostMessageW(view, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        return false;
    }
    if (!ok)
        code = 1;
    return true;
}

} // namespace lt::probe
