// ltprobe: looks at and drives a running Lumatrove from another process, the
// way a user or a second copy would. Runs under Wine in the same prefix.
//
//   ltprobe <command> [arguments]     (output is UTF-8 on stdout)
//
// The controller is the window titled "Controller"; the list is its list box.
//   wait-window [ms]       wait for the controller; print its handle
//   wait-gone [ms]         wait until no controller is left
//   list                   one row per list line: item data, TAB, text
//   count                  number of list lines
//   wait-count N [ms]      wait until the list has N lines; print the count
//   selected               index of the selected line, -1 for none
//   click X Y              left press and release at client (X, Y), sent;
//                          print the milliseconds their handling took
//   press X Y | release X Y   left press or release alone, sent
//   post-click X Y [X2 Y2] left press and release (at X2 Y2 if given), posted:
//                          for buttons that open a modal dialog, which would
//                          hold a sent one
//   rclick X Y             right press and release, posted (a menu may open)
//   rclick-list N          the same on list line N, posted to the list box
//   select N               select list line N (-1: none); print the result
//   dblclick N             double click on list line N (sent to the list box)
//   key VK [list]          key down and up, sent to the controller (or to
//                          the list box)
//   rect                   controller's screen rectangle: left top right bottom
//   cursor                 pointer position as Windows reports it: x y
//   watch-visible MS       sample the controller's visibility for MS ms; print
//                          "ms state" at the start and at each change
//   panel                  1 or 0: is the settings panel (the child covering
//                          the window from client (0, 19)) shown
//   menu [ms]              wait for the program's popup menu; print its screen
//                          rectangle (its captions cannot be read from
//                          another process under Wine: look at a screenshot)
//   menu-keys KEY...       post keys to the open menu: a number is a virtual
//                          key, anything else is typed as characters
//   file-dialog [NAME | --cancel]   wait for the program's file dialog;
//                          print its title and what its name box holds (TAB
//                          between); type NAME into the box if given; press
//                          OK (or Cancel)
//   dialog [ms]            wait for a dialog box of the program; print its title
//   browse [PATH]          wait for the program's folder browser; print its
//                          texts; select the folder PATH (its caption is
//                          printed) and press OK; without PATH press Cancel
//   close                  post WM_CLOSE
//   visible | iconic | foreground   print 1 or 0
//   minimize               minimise the controller
//   prop NAME              print the controller's window property NAME
//   drop PATH...           drop files on the list, as the shell does
//   windows                visible top-level windows: hwnd, pid, class, title
//   start EXE [TAIL]       run EXE with the command line "EXE" TAIL as given;
//                          print its exit code and how long it ran
//   dismiss                close the program's dialog boxes; print their texts
//
// Exit status: 0 success, 1 the awaited state did not come / window missing,
// 2 bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "dialogs.h"
#include "drop.h"
#include "player.h"
#include "wait.h"

namespace lt::probe {

namespace {

constexpr const wchar_t* ControllerTitle = L"Controller";
constexpr DWORD DefaultTimeoutMs = 10000;
// Long enough for a rebuild of a full list under Wine; a click that opens a
// modal dialog is a test mistake, not something to wait for forever.
constexpr UINT SendTimeoutMs = 60000;

std::string Utf8(const std::wstring& w)
{
    if (w.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Raw bytes to the handle: no console code page gets in the way.
void Write(HANDLE h, const std::string& s)
{
    DWORD put = 0;
    WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
}
void Out(const std::string& s)
{
    Write(GetStdHandle(STD_OUTPUT_HANDLE), s + "\n");
}
void Err(const std::string& s)
{
    Write(GetStdHandle(STD_ERROR_HANDLE), "ltprobe: " + s + "\n");
}

HWND FindController()
{
    return FindWindowW(nullptr, ControllerTitle);
}

// The file list: the controller's list box child (the one at client (8, 32)
// when there are several).
HWND FindList(HWND controller)
{
    HWND first = nullptr;
    for (HWND c = FindWindowExW(controller, nullptr, L"ListBox", nullptr); c;
         c = FindWindowExW(controller, c, L"ListBox", nullptr)) {
        if (!first)
            first = c;
        RECT r{};
        GetWindowRect(c, &r);
        POINT p{r.left, r.top};
        ScreenToClient(controller, &p);
        if (p.x == 8 && p.y == 32)
            return c;
    }
    return first;
}

bool ParseInt(const std::wstring& s, long& out)
{
    if (s.empty())
        return false;
    wchar_t* end = nullptr;
    out = std::wcstol(s.c_str(), &end, 0);
    return end && *end == L'\0';
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr)
{
    DWORD_PTR r = 0;
    bool ok = SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, SendTimeoutMs, &r) != 0;
    if (result)
        *result = r;
    return ok;
}

LRESULT ListCount(HWND list)
{
    return SendMessageW(list, LB_GETCOUNT, 0, 0);
}

struct Context {
    std::vector<std::wstring> args; // after the command name
    HWND controller = nullptr;
    HWND list = nullptr;
};

using Handler = int (*)(Context&);

int Usage()
{
    Err("usage: ltprobe wait-window [ms] | wait-gone [ms] | list | count | wait-count N [ms] | selected |"
        " click X Y | press X Y | release X Y | post-click X Y [X2 Y2] | rclick X Y | rclick-list N | select N |"
        " dblclick N | key VK [list] | rect | cursor | watch-visible MS | panel | menu [ms] | menu-keys KEY... |"
        " file-dialog [NAME | --cancel] | dialog [ms] |"
        " browse [PATH] | close | visible | iconic | foreground | minimize | prop NAME | drop PATH... |"
        " windows | start EXE [TAIL] | dismiss");
    return 2;
}

DWORD TimeoutArg(const Context& c, size_t i)
{
    long v = 0;
    return i < c.args.size() && ParseInt(c.args[i], v) && v >= 0 ? static_cast<DWORD>(v) : DefaultTimeoutMs;
}

int WaitWindow(Context& c)
{
    HWND w = nullptr;
    if (!WaitUntil(TimeoutArg(c, 0), [&] { return (w = FindController()) != nullptr; })) {
        Err("no window \"Controller\"");
        return 1;
    }
    char text[32];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
    Out(text);
    return 0;
}

int WaitGone(Context& c)
{
    if (!WaitUntil(TimeoutArg(c, 0), [] { return FindController() == nullptr; })) {
        Err("window \"Controller\" still there");
        return 1;
    }
    return 0;
}

int List(Context& c)
{
    LRESULT n = ListCount(c.list);
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT len = SendMessageW(c.list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        LRESULT got = SendMessageW(c.list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        LRESULT data = SendMessageW(c.list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        Out(std::to_string(static_cast<long>(data)) + "\t" + Utf8(text));
    }
    return 0;
}

int Count(Context& c)
{
    Out(std::to_string(static_cast<long>(ListCount(c.list))));
    return 0;
}

int WaitCount(Context& c)
{
    long want = 0;
    if (c.args.empty() || !ParseInt(c.args[0], want))
        return Usage();
    LRESULT n = -1;
    bool ok = WaitUntil(TimeoutArg(c, 1), [&] { return (n = ListCount(c.list)) == want; });
    Out(std::to_string(static_cast<long>(n)));
    if (!ok)
        Err("list count: expected " + std::to_string(want) + ", got " + std::to_string(static_cast<long>(n)));
    return ok ? 0 : 1;
}

int Selected(Context& c)
{
    Out(std::to_string(static_cast<long>(SendMessageW(c.list, LB_GETCURSEL, 0, 0))));
    return 0;
}

bool PointArgs(const Context& c, LPARAM& lp)
{
    long x = 0, y = 0;
    if (c.args.size() != 2 || !ParseInt(c.args[0], x) || !ParseInt(c.args[1], y))
        return false;
    lp = MAKELPARAM(x, y);
    return true;
}

// Sent, so that when it returns the press and release have been handled;
// prints how long that took in milliseconds.
int Click(Context& c)
{
    LPARAM lp = 0;
    if (!PointArgs(c, lp))
        return Usage();
    DWORD start = GetTickCount();
    if (!Send(c.controller, WM_LBUTTONDOWN, MK_LBUTTON, lp) || !Send(c.controller, WM_LBUTTONUP, 0, lp)) {
        Err("click was not handled in time");
        return 1;
    }
    Out(std::to_string(GetTickCount() - start));
    return 0;
}

// Half a click, for a button held down or a press released elsewhere.
int SendMouse(Context& c, UINT msg, WPARAM keys)
{
    LPARAM lp = 0;
    if (!PointArgs(c, lp))
        return Usage();
    if (!Send(c.controller, msg, keys, lp)) {
        Err("mouse message was not handled in time");
        return 1;
    }
    return 0;
}

int Press(Context& c)
{
    return SendMouse(c, WM_LBUTTONDOWN, MK_LBUTTON);
}

int Release(Context& c)
{
    return SendMouse(c, WM_LBUTTONUP, 0);
}

// Posted: a button that opens a modal dialog would hold a sent release.
int PostClick(Context& c)
{
    long v[4] = {};
    if (c.args.size() != 2 && c.args.size() != 4)
        return Usage();
    for (size_t i = 0; i < c.args.size(); ++i)
        if (!ParseInt(c.args[i], v[i]))
            return Usage();
    if (c.args.size() == 2) {
        v[2] = v[0];
        v[3] = v[1];
    }
    PostMessageW(c.controller, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(v[0], v[1]));
    PostMessageW(c.controller, WM_LBUTTONUP, 0, MAKELPARAM(v[2], v[3]));
    return 0;
}

// Posted: the right button opens a popup menu whose loop would hold us.
int RightClick(Context& c)
{
    LPARAM lp = 0;
    if (!PointArgs(c, lp))
        return Usage();
    PostMessageW(c.controller, WM_RBUTTONDOWN, MK_RBUTTON, lp);
    PostMessageW(c.controller, WM_RBUTTONUP, 0, lp);
    return 0;
}

// The middle of list line n in list box client coordinates, from the item
// height and the first shown line (no pointer-carrying message needed).
bool LinePoint(const Context& c, long n, LPARAM& lp)
{
    LRESULT height = SendMessageW(c.list, LB_GETITEMHEIGHT, 0, 0);
    LRESULT top = SendMessageW(c.list, LB_GETTOPINDEX, 0, 0);
    if (height <= 0 || top < 0 || n < top)
        return false;
    lp = MAKELPARAM(20, (n - top) * height + height / 2);
    return true;
}

bool LineArg(const Context& c, long& n)
{
    return c.args.size() == 1 && ParseInt(c.args[0], n);
}

// The client point of the list line named by the argument; a non-zero exit
// code when there is none.
int LinePointArg(Context& c, LPARAM& lp)
{
    long n = 0;
    if (!LineArg(c, n))
        return Usage();
    if (!LinePoint(c, n, lp)) {
        Err("list line " + std::to_string(n) + " is not shown");
        return 1;
    }
    return 0;
}

int RightClickList(Context& c)
{
    LPARAM lp = 0;
    if (int code = LinePointArg(c, lp))
        return code;
    PostMessageW(c.list, WM_RBUTTONDOWN, MK_RBUTTON, lp);
    PostMessageW(c.list, WM_RBUTTONUP, 0, lp);
    return 0;
}

int Select(Context& c)
{
    long n = 0;
    if (!LineArg(c, n))
        return Usage();
    DWORD_PTR result = 0;
    if (!Send(c.list, LB_SETCURSEL, static_cast<WPARAM>(n), 0, &result)) {
        Err("list box did not answer");
        return 1;
    }
    Out(std::to_string(static_cast<long>(static_cast<LRESULT>(result))));
    return 0;
}

// Press, release, second press (the double click) and release, as the list
// box gets them from the window system.
int DoubleClick(Context& c)
{
    LPARAM lp = 0;
    if (int code = LinePointArg(c, lp))
        return code;
    if (!Send(c.list, WM_LBUTTONDOWN, MK_LBUTTON, lp) || !Send(c.list, WM_LBUTTONUP, 0, lp) ||
        !Send(c.list, WM_LBUTTONDBLCLK, MK_LBUTTON, lp) || !Send(c.list, WM_LBUTTONUP, 0, lp)) {
        Err("double click was not handled in time");
        return 1;
    }
    return 0;
}

int Key(Context& c)
{
    long vk = 0;
    const bool toList = c.args.size() == 2 && c.args[1] == L"list";
    if ((c.args.size() != 1 && !toList) || !ParseInt(c.args[0], vk))
        return Usage();
    HWND target = toList ? c.list : c.controller;
    UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1L << 30) | (1L << 31);
    if (!Send(target, WM_KEYDOWN, static_cast<WPARAM>(vk), down) ||
        !Send(target, WM_KEYUP, static_cast<WPARAM>(vk), up)) {
        Err("key was not handled in time");
        return 1;
    }
    return 0;
}

// Samples the controller's visibility every few milliseconds for MS
// milliseconds; prints the state at the start and each change, with the
// milliseconds since the start ("0 1", "310 0", ...).
int WatchVisible(Context& c)
{
    long span = 0;
    if (c.args.size() != 1 || !ParseInt(c.args[0], span) || span < 0)
        return Usage();
    DWORD start = GetTickCount();
    int last = -1;
    for (;;) {
        DWORD now = GetTickCount() - start;
        int shown = IsWindowVisible(c.controller) ? 1 : 0;
        if (shown != last)
            Out(std::to_string(now) + " " + std::to_string(shown));
        last = shown;
        if (now >= static_cast<DWORD>(span))
            return 0;
        Sleep(5);
    }
}

int Cursor(Context&)
{
    POINT p{};
    GetCursorPos(&p);
    Out(std::to_string(p.x) + " " + std::to_string(p.y));
    return 0;
}

// A window's screen rectangle as "left top right bottom".
void OutRect(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    Out(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
        std::to_string(r.bottom));
}

int Rect(Context& c)
{
    OutRect(c.controller);
    return 0;
}

struct PanelSearch {
    HWND controller;
    HWND list;
    HWND found;
};

BOOL CALLBACK TakePanel(HWND w, LPARAM param)
{
    auto* s = reinterpret_cast<PanelSearch*>(param);
    if (w == s->list || GetParent(w) != s->controller)
        return TRUE;
    RECT r{};
    GetWindowRect(w, &r);
    POINT p{r.left, r.top};
    ScreenToClient(s->controller, &p);
    if (p.x == 0 && p.y == 19) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

int Panel(Context& c)
{
    PanelSearch search{c.controller, c.list, nullptr};
    EnumChildWindows(c.controller, TakePanel, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        Err("no settings panel at client (0, 19)");
        return 1;
    }
    Out(IsWindowVisible(search.found) ? "1" : "0");
    return 0;
}

int Menu(Context& c)
{
    HWND menu = WaitPopupMenu(c.controller, TimeoutArg(c, 0));
    if (!menu) {
        Err("no popup menu came up");
        return 1;
    }
    OutRect(menu);
    return 0;
}

int MenuKeys(Context& c)
{
    if (c.args.empty())
        return Usage();
    HWND menu = WaitPopupMenu(c.controller, DefaultTimeoutMs);
    if (!menu || !PostMenuKeys(menu, c.args)) {
        Err("no popup menu to type into");
        return 1;
    }
    return 0;
}

int FileDialog(Context& c)
{
    if (c.args.size() > 1)
        return Usage();
    HWND dialog = WaitDialogWith(c.controller, L"Edit", DefaultTimeoutMs);
    HWND box = dialog ? FileNameBox(dialog) : nullptr;
    if (!box) {
        Err("no file dialog came up");
        return 1;
    }
    wchar_t title[256] = {};
    GetWindowTextW(dialog, title, 256);
    Out(Utf8(title) + "\t" + Utf8(ControlText(box)));
    const bool cancel = c.args.size() == 1 && c.args[0] == L"--cancel";
    if (c.args.size() == 1 && !cancel)
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.args[0].c_str()));
    if (!PressAndWaitGone(dialog, cancel ? IDCANCEL : IDOK, DefaultTimeoutMs)) {
        Err("the file dialog stayed: " + Utf8(StaticTexts(dialog)));
        return 1;
    }
    return 0;
}

int Dialog(Context& c)
{
    HWND dialog = WaitDialogWith(c.controller, nullptr, TimeoutArg(c, 0));
    if (!dialog) {
        Err("no dialog box came up");
        return 1;
    }
    wchar_t title[256] = {};
    GetWindowTextW(dialog, title, 256);
    Out(Utf8(title));
    return 0;
}

int Browse(Context& c)
{
    if (c.args.size() > 1)
        return Usage();
    HWND browser = WaitDialogWith(c.controller, L"SysTreeView32", DefaultTimeoutMs);
    if (!browser) {
        Err("no folder browser came up");
        return 1;
    }
    Out(Utf8(StaticTexts(browser)));
    int button = IDCANCEL;
    if (c.args.size() == 1) {
        std::wstring selected;
        std::string error;
        if (!SelectFolderInBrowser(browser, c.args[0], selected, error)) {
            Err(error);
            PressAndWaitGone(browser, IDCANCEL, DefaultTimeoutMs);
            return 1;
        }
        Out(Utf8(selected));
        button = IDOK;
    }
    if (!PressAndWaitGone(browser, button, DefaultTimeoutMs)) {
        Err("the folder browser stayed");
        return 1;
    }
    return 0;
}

int Close(Context& c)
{
    PostMessageW(c.controller, WM_CLOSE, 0, 0);
    return 0;
}

int Visible(Context& c)
{
    Out(IsWindowVisible(c.controller) ? "1" : "0");
    return 0;
}

int Iconic(Context& c)
{
    Out(IsIconic(c.controller) ? "1" : "0");
    return 0;
}

int Foreground(Context& c)
{
    Out(GetForegroundWindow() == c.controller ? "1" : "0");
    return 0;
}

int Minimize(Context& c)
{
    ShowWindow(c.controller, SW_MINIMIZE);
    if (!WaitUntil(DefaultTimeoutMs, [&] { return IsIconic(c.controller) != 0; })) {
        Err("window did not minimise");
        return 1;
    }
    return 0;
}

struct PropSearch {
    const char* name;
    bool found;
};

BOOL CALLBACK MatchProp(HWND, LPSTR name, HANDLE, ULONG_PTR param)
{
    auto* s = reinterpret_cast<PropSearch*>(param);
    // Atoms come as small numbers, not strings.
    if (HIWORD(reinterpret_cast<UINT_PTR>(name)) != 0 && lstrcmpiA(name, s->name) == 0) {
        s->found = true;
        return FALSE;
    }
    return TRUE;
}

int Prop(Context& c)
{
    if (c.args.size() != 1)
        return Usage();
    std::string name = Utf8(c.args[0]);
    PropSearch search{name.c_str(), false};
    EnumPropsExA(c.controller, MatchProp, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        Err("no window property " + name);
        return 1;
    }
    Out(std::to_string(static_cast<long>(reinterpret_cast<INT_PTR>(GetPropA(c.controller, name.c_str())))));
    return 0;
}

BOOL CALLBACK AddWindowRow(HWND w, LPARAM param)
{
    if (!IsWindowVisible(w))
        return TRUE;
    wchar_t cls[256] = {}, title[256] = {};
    GetClassNameW(w, cls, 256);
    GetWindowTextW(w, title, 256);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char head[64];
    std::snprintf(head, sizeof head, "0x%08lX\t%lu\t", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)),
                  static_cast<unsigned long>(pid));
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(head + Utf8(cls) + "\t" + Utf8(title));
    return TRUE;
}

// Visible top-level windows of every process: hwnd, process id, class, title.
int Windows(Context&)
{
    std::vector<std::string> rows;
    EnumWindows(AddWindowRow, reinterpret_cast<LPARAM>(&rows));
    for (const std::string& r : rows)
        Out(r);
    return 0;
}

// Starts a program with exactly the command line "EXE" TAIL, the way the
// shell would (no quoting added to TAIL), and waits for it to end.
int Start(Context& c)
{
    if (c.args.empty() || c.args.size() > 2)
        return Usage();
    std::wstring line = L"\"" + c.args[0] + L"\"";
    if (c.args.size() == 2)
        line += L" " + c.args[1];
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD start = GetTickCount();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Err("cannot start " + Utf8(c.args[0]));
        return 1;
    }
    CloseHandle(pi.hThread);
    DWORD waited = WaitForSingleObject(pi.hProcess, DefaultTimeoutMs * 3);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    if (waited != WAIT_OBJECT_0) {
        Err("still running after " + std::to_string(DefaultTimeoutMs * 3) + " ms");
        return 1;
    }
    Out("exit=" + std::to_string(code) + " ms=" + std::to_string(GetTickCount() - start));
    return 0;
}

struct BoxSearch {
    DWORD pid;
    std::vector<HWND> boxes;
};

BOOL CALLBACK AddBox(HWND w, LPARAM param)
{
    auto* s = reinterpret_cast<BoxSearch*>(param);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == s->pid && IsWindowVisible(w) && std::wcscmp(cls, L"#32770") == 0)
        s->boxes.push_back(w);
    return TRUE;
}

BOOL CALLBACK AddStaticText(HWND w, LPARAM param)
{
    wchar_t cls[16] = {}, text[512] = {};
    GetClassNameW(w, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(w, text, 512) > 0) {
        auto* out = reinterpret_cast<std::wstring*>(param);
        *out += (out->empty() ? L"" : L" / ") + std::wstring(text);
    }
    return TRUE;
}

// Closes the dialog boxes the program shows (Cancel where there is one, else
// OK); prints each one's title and texts. For machines that lack a device a
// box reports on, such as a MIDI synthesiser.
int Dismiss(Context& c)
{
    BoxSearch search{};
    GetWindowThreadProcessId(c.controller, &search.pid);
    EnumWindows(AddBox, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.boxes) {
        wchar_t title[256] = {};
        GetWindowTextW(box, title, 256);
        std::wstring texts;
        EnumChildWindows(box, AddStaticText, reinterpret_cast<LPARAM>(&texts));
        Out(Utf8(title) + "\t" + Utf8(texts));
        int button = GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    return 0;
}

int Drop(Context& c)
{
    if (c.args.empty())
        return Usage();
    std::string error;
    if (!DropFiles(c.list, c.args, error)) {
        Err(error);
        return 1;
    }
    return 0;
}

struct Command {
    const wchar_t* name;
    Handler run;
    bool needsWindow;
};

constexpr Command Commands[] = {
    {L"wait-window", WaitWindow, false},
    {L"wait-gone", WaitGone, false},
    {L"list", List, true},
    {L"count", Count, true},
    {L"wait-count", WaitCount, true},
    {L"selected", Selected, true},
    {L"click", Click, true},
    {L"rclick", RightClick, true},
    {L"key", Key, true},
    {L"close", Close, true},
    {L"visible", Visible, true},
    {L"iconic", Iconic, true},
    {L"foreground", Foreground, true},
    {L"minimize", Minimize, true},
    {L"prop", Prop, true},
    {L"drop", Drop, true},
    {L"windows", Windows, false},
    {L"start", Start, false},
    {L"dismiss", Dismiss, true},
    // Driving the controller's buttons, list, menu and dialogs.
    {L"press", Press, true},
    {L"release", Release, true},
    {L"post-click", PostClick, true},
    {L"rclick-list", RightClickList, true},
    {L"select", Select, true},
    {L"dblclick", DoubleClick, true},
    {L"rect", Rect, true},
    {L"cursor", Cursor, false},
    {L"watch-visible", WatchVisible, true},
    {L"panel", Panel, true},
    {L"menu", Menu, true},
    {L"menu-keys", MenuKeys, true},
    {L"file-dialog", FileDialog, true},
    {L"dialog", Dialog, true},
    {L"browse", Browse, true},
};

} // namespace

int Run()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return Usage();
    Context c;
    c.args.assign(argv + 2, argv + argc);
    std::wstring name = argv[1];
    LocalFree(argv);
    if (int code = 0; RunPlayerCommand(name, c.args, code))
        return code;

    for (const Command& cmd : Commands) {
        if (name != cmd.name)
            continue;
        if (cmd.needsWindow) {
            c.controller = FindController();
            c.list = c.controller ? FindList(c.controller) : nullptr;
            if (!c.list) {
                Err(c.controller ? "controller has no list box" : "no window \"Controller\"");
                return 1;
            }
        }
        return cmd.run(c);
    }
    return Usage();
}

} // namespace lt::probe

int main()
{
    return lt::probe::Run();
}
