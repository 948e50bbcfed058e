// Picture window commands (windows of class LumatroveView):
//   views                  per window: hwnd, outer left top width height, title
//   view-state HWND        key=value lines: view area (screen rect), bars
//                          (shown, max, value), selector text, colour readout,
//                          foreground
//   view-click HWND X Y [right]   press and release in the view area
//   view-drag HWND X1 Y1 X2 Y2    left drag in the view area
//   view-strip HWND X Y [post]    press and release on the tool strip
//   view-key HWND VK [combo]      key down and up (to the selector if asked)
//   view-wheel HWND DELTA [ctrl|shift]   wheel over the view's middle
//   view-combo HWND INDEX  pick a selector line as a user would
//   view-close HWND        the close box
//   clip                   clipboard bitmap: "W H", then a row of RRGGBB a line
#include "viewer.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace lt::probe {

namespace {

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

HWND ChildOfClass(HWND parent, const wchar_t* cls, int nth = 0)
{
    HWND c = nullptr;
    for (int i = 0; i <= nth; ++i)
        if (!(c = FindWindowExW(parent, c, cls, nullptr)))
            return nullptr;
    return c;
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 30000, &r) != 0;
}

std::string Rect(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    char s[64];
    std::snprintf(s, sizeof s, "%ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return s;
}

BOOL CALLBACK AddView(HWND w, LPARAM)
{
    wchar_t cls[64] = {}, title[512] = {};
    GetClassNameW(w, cls, 64);
    if (std::wcscmp(cls, L"LumatroveView") != 0 || !IsWindowVisible(w))
        return TRUE;
    GetWindowTextW(w, title, 512);
    char hwnd[16];
    std::snprintf(hwnd, sizeof hwnd, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
    Out(std::string(hwnd) + "\t" + Rect(w) + "\t" + Utf8(title));
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

void State(HWND view, HWND area)
{
    Out("area=" + Rect(area));
    // The vertical bar is created first.
    Out("vbar=" + BarState(ChildOfClass(view, L"ScrollBar", 0)));
    Out("hbar=" + BarState(ChildOfClass(view, L"ScrollBar", 1)));
    HWND combo = ChildOfClass(view, L"ComboBox");
    wchar_t text[64] = {};
    if (LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0); sel >= 0)
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
    Out("mag=" + Utf8(text));
    // The colour readout is the last label.
    HWND label = nullptr;
    for (HWND c = ChildOfClass(view, L"Static"); c; c = FindWindowExW(view, c, L"Static", nullptr))
        label = c;
    GetWindowTextW(label, text, 64);
    Out("hex=" + Utf8(text));
    Out(std::string("foreground=") + (GetForegroundWindow() == view ? "1" : "0"));
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
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
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
    if (name == L"views")
        EnumWindows(AddView, 0);
    else if (name == L"clip")
        code = Clip();
    if (name == L"views" || name == L"clip")
        return true;
    if (name.rfind(L"view-", 0) != 0)
        return false;
    HWND view =
        a.empty() ? nullptr : reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoul(a[0].c_str(), nullptr, 0)));
    HWND area = view && IsWindow(view) ? ChildOfClass(view, L"LumatroveViewArea") : nullptr;
    if (!area) {
        code = 1;
        return true;
    }
    auto arg = [&](size_t i) { return i < a.size() ? std::wcstol(a[i].c_str(), nullptr, 0) : 0L; };
    auto has = [&](const wchar_t* word) { return a.size() > 1 && a.back() == word; };
    // Press and release (or a drag through the middle) with the given button.
    auto mouse = [&](HWND to, bool right, long x1, long y1, long x2, long y2) {
        const UINT down = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
        const WPARAM held = right ? MK_RBUTTON : MK_LBUTTON;
        bool ok = Send(to, down, held, MAKELPARAM(x1, y1));
        if (ok && (x1 != x2 || y1 != y2))
            ok = Send(to, WM_MOUSEMOVE, held, MAKELPARAM((x1 + x2) / 2, (y1 + y2) / 2)) &&
                 Send(to, WM_MOUSEMOVE, held, MAKELPARAM(x2, y2));
        return ok && Send(to, down + 1, 0, MAKELPARAM(x2, y2));
    };
    bool ok = true;
    if (name == L"view-state") {
        State(view, area);
    } else if (name == L"view-click") {
        ok = mouse(area, has(L"right"), arg(1), arg(2), arg(1), arg(2));
    } else if (name == L"view-drag") {
        ok = mouse(area, false, arg(1), arg(2), arg(3), arg(4));
    } else if (name == L"view-strip" && has(L"post")) {
        PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arg(1), arg(2)));
        PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(arg(1), arg(2)));
    } else if (name == L"view-strip") {
        ok = mouse(view, false, arg(1), arg(2), arg(1), arg(2));
    } else if (name == L"view-key") {
        HWND target = has(L"combo") ? ChildOfClass(view, L"ComboBox") : view;
        const WPARAM vk = static_cast<WPARAM>(arg(1));
        ok = Send(target, WM_KEYDOWN, vk, 1) && (!IsWindow(target) || Send(target, WM_KEYUP, vk, 0xC0000001));
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
    code = ok ? 0 : 1;
    return true;
}

} // namespace lt::probe
