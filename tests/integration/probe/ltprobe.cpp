// ltprobe: looks at and drives a running Lumatrove from another process, the
// way a user or a second copy would. Runs under Wine in the same prefix.
//
//   ltprobe <command> [arguments]     (output is UTF-8 on stdout)
//
// The controller is the window titled "Controller"; the list is its list box.
// The commands are in the table at the end, each with what it does. Exit
// status: 0 success, 1 the awaited state did not come / window missing, 2 bad
// usage.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "dialogs.h"
#include "drop.h"
#include "movie.h"
#include "player.h"
#include "remote_memory.h"
#include "settings_probe.h"
#include "viewer.h"
#include "together.h"

namespace lt::probe {

namespace {

constexpr const wchar_t* ControllerTitle = L"Controller";
constexpr DWORD DefaultTimeoutMs = 10000;
// Long enough for a rebuild of a full list under Wine; a sent click that opens
// a modal dialog is a test mistake, not something to wait for forever.
constexpr UINT SendTimeoutMs = 60000;

std::string Utf8(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Raw bytes to the handle: no console code page gets in the way.
void Write(DWORD which, const std::string& s)
{
    DWORD put = 0;
    WriteFile(GetStdHandle(which), s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
}
void Out(const std::string& s)
{
    Write(STD_OUTPUT_HANDLE, s + "\n");
}
int Fail(const std::string& s)
{
    Write(STD_ERROR_HANDLE, "ltprobe: " + s + "\n");
    return 1;
}
int Flag(bool on)
{
    Out(on ? "1" : "0");
    return 0;
}

HWND FindController()
{
    return FindWindowW(nullptr, ControllerTitle);
}

// A child's top-left corner in its parent's client coordinates.
POINT ClientCorner(HWND parent, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(parent, &p);
    return p;
}

// The controller's child whose corner is at client (x, y), of the class if given.
HWND ChildAt(HWND controller, int x, int y, const wchar_t* cls = nullptr)
{
    for (HWND c = FindWindowExW(controller, nullptr, cls, nullptr); c; c = FindWindowExW(controller, c, cls, nullptr)) {
        POINT p = ClientCorner(controller, c);
        if (p.x == x && p.y == y)
            return c;
    }
    return nullptr;
}

bool ParseInt(const std::wstring& s, long& out)
{
    wchar_t* end = nullptr;
    out = std::wcstol(s.c_str(), &end, 0);
    return !s.empty() && end && *end == L'\0';
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr)
{
    DWORD_PTR r = 0;
    bool ok = SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, SendTimeoutMs, &r) != 0;
    if (result)
        *result = r;
    return ok;
}

BOOL CALLBACK AddWindow(HWND w, LPARAM all)
{
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(w);
    return TRUE;
}

std::vector<HWND> TopWindows()
{
    std::vector<HWND> all;
    EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

struct Context {
    std::vector<std::wstring> args; // after the command name
    HWND controller = nullptr;
    HWND list = nullptr;

    // Argument i as a number, or fallback when it is missing or not one.
    long Num(size_t i, long fallback) const
    {
        long v = 0;
        return i < args.size() && ParseInt(args[i], v) ? v : fallback;
    }
    DWORD Timeout(size_t i) const { return static_cast<DWORD>(Num(i, DefaultTimeoutMs)); }
    LRESULT Count() const { return SendMessageW(list, LB_GETCOUNT, 0, 0); }
};

using Handler = int (*)(Context&);
int Usage();

int WaitWindow(Context& c)
{
    HWND w = nullptr;
    if (!WaitUntil(c.Timeout(0), [&] { return (w = FindController()) != nullptr; }))
        return Fail("no window \"Controller\"");
    char text[32];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
    Out(text);
    return 0;
}

int WaitGone(Context& c)
{
    return WaitUntil(c.Timeout(0), [] { return FindController() == nullptr; }) ? 0 : Fail("controller still there");
}

int List(Context& c)
{
    LRESULT n = c.Count();
    if (long most = c.Num(0, -1); most >= 0 && most < n)
        n = most; // a long list read line by line from outside takes a while
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

int WaitCount(Context& c)
{
    const long want = c.Num(0, -1);
    if (want < 0)
        return Usage();
    LRESULT n = -1;
    bool ok = WaitUntil(c.Timeout(1), [&] { return (n = c.Count()) == want; });
    Out(std::to_string(static_cast<long>(n)));
    return ok ? 0 : Fail("list count: expected " + std::to_string(want) + ", got " + std::to_string(n));
}

// Mouse messages at client (X, Y) (and a second point X2 Y2 for the last).
// Sent ones have been handled on return (their milliseconds are printed for
// clicks); posted ones do not wait, for presses that open a modal loop.
int Mouse(Context& c, HWND target, std::initializer_list<std::pair<UINT, WPARAM>> messages, bool post,
          bool timed = false)
{
    if (c.args.size() != 2 && !(post && c.args.size() == 4))
        return Usage();
    LPARAM at = MAKELPARAM(c.Num(0, 0), c.Num(1, 0));
    LPARAM last = c.args.size() == 4 ? MAKELPARAM(c.Num(2, 0), c.Num(3, 0)) : at;
    DWORD start = GetTickCount();
    size_t i = 0;
    for (auto [msg, keys] : messages) {
        LPARAM lp = ++i == messages.size() ? last : at;
        if (post ? !PostMessageW(target, msg, keys, lp) : !Send(target, msg, keys, lp))
            return Fail("mouse message was not handled in time");
    }
    if (timed)
        Out(std::to_string(GetTickCount() - start));
    return 0;
}

// The list box client point of line N, from the item height and the first
// shown line; the line number goes into the argument list as X Y.
bool LineToPoint(Context& c)
{
    const long n = c.Num(0, -1);
    LRESULT height = SendMessageW(c.list, LB_GETITEMHEIGHT, 0, 0);
    LRESULT top = SendMessageW(c.list, LB_GETTOPINDEX, 0, 0);
    if (c.args.size() != 1 || height <= 0 || n < top)
        return false;
    c.args = {L"20", std::to_wstring((n - top) * height + height / 2)};
    return true;
}

int Select(Context& c)
{
    DWORD_PTR result = 0;
    if (c.args.size() != 1 || !Send(c.list, LB_SETCURSEL, static_cast<WPARAM>(c.Num(0, -1)), 0, &result))
        return c.args.size() != 1 ? Usage() : Fail("list box did not answer");
    Out(std::to_string(static_cast<long>(static_cast<LRESULT>(result))));
    return 0;
}

int Key(Context& c)
{
    const bool toList = c.args.size() == 2 && c.args[1] == L"list";
    const long vk = c.Num(0, -1);
    if ((c.args.size() != 1 && !toList) || vk < 0)
        return Usage();
    LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16);
    HWND target = toList ? c.list : c.controller;
    if (!Send(target, WM_KEYDOWN, vk, down) || !Send(target, WM_KEYUP, vk, down | (1L << 30) | (1L << 31)))
        return Fail("key was not handled in time");
    return 0;
}

// Prints "ms state" at the start and at each change, sampling every few ms.
int WatchVisible(Context& c)
{
    const long span = c.Num(0, -1);
    if (c.args.size() != 1 || span < 0)
        return Usage();
    DWORD start = GetTickCount();
    for (int last = -1;; Sleep(5)) {
        DWORD now = GetTickCount() - start;
        int shown = IsWindowVisible(c.controller) ? 1 : 0;
        if (shown != last)
            Out(std::to_string(now) + " " + std::to_string(shown));
        last = shown;
        if (now >= static_cast<DWORD>(span))
            return 0;
    }
}

int Rect(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    Out(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
        std::to_string(r.bottom));
    return 0;
}

int Panel(Context& c)
{
    // The settings panel is the child covering the window from client (0, 19).
    HWND panel = ChildAt(c.controller, 0, 19);
    return panel ? Flag(IsWindowVisible(panel)) : Fail("no settings panel at client (0, 19)");
}

int FileDialog(Context& c)
{
    HWND dialog = WaitDialogWith(c.controller, L"Edit", DefaultTimeoutMs);
    HWND box = dialog ? FileNameBox(dialog) : nullptr;
    if (c.args.size() > 1)
        return Usage();
    if (!box)
        return Fail("no file dialog came up");
    wchar_t title[256] = {};
    GetWindowTextW(dialog, title, 256);
    Out(Utf8(title) + "\t" + Utf8(ControlText(box)));
    const bool cancel = c.args.size() == 1 && c.args[0] == L"--cancel";
    if (c.args.size() == 1 && !cancel)
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.args[0].c_str()));
    if (!PressAndWaitGone(dialog, cancel ? IDCANCEL : IDOK, DefaultTimeoutMs))
        return Fail("the file dialog stayed: " + Utf8(StaticTexts(dialog)));
    return 0;
}

int Browse(Context& c)
{
    HWND browser = WaitDialogWith(c.controller, L"SysTreeView32", DefaultTimeoutMs);
    if (c.args.size() > 1)
        return Usage();
    if (!browser)
        return Fail("no folder browser came up");
    Out(Utf8(StaticTexts(browser)));
    int button = IDCANCEL;
    if (c.args.size() == 1) {
        std::wstring selected;
        std::string error;
        if (!SelectFolderInBrowser(browser, c.args[0], selected, error)) {
            PressAndWaitGone(browser, IDCANCEL, DefaultTimeoutMs);
            return Fail(error);
        }
        Out(Utf8(selected));
        button = IDOK;
    }
    return PressAndWaitGone(browser, button, DefaultTimeoutMs) ? 0 : Fail("the folder browser stayed");
}

// Starts a program with exactly the command line "EXE" TAIL, the way the
// shell would (no quoting added to TAIL), and waits for it to end.
int Start(Context& c)
{
    if (c.args.empty() || c.args.size() > 2)
        return Fail("start EXE [TAIL]");
    std::wstring line = L"\"" + c.args[0] + L"\"";
    if (c.args.size() == 2)
        line += L" " + c.args[1];
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD start = GetTickCount();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return Fail("cannot start " + Utf8(c.args[0]));
    CloseHandle(pi.hThread);
    DWORD waited = WaitForSingleObject(pi.hProcess, DefaultTimeoutMs * 3);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    if (waited != WAIT_OBJECT_0)
        return Fail("still running after " + std::to_string(DefaultTimeoutMs * 3) + " ms");
    Out("exit=" + std::to_string(code) + " ms=" + std::to_string(GetTickCount() - start));
    return 0;
}

int Windows(Context&)
{
    for (HWND w : TopWindows()) {
        if (!IsWindowVisible(w))
            continue;
        wchar_t cls[256] = {}, title[256] = {};
        GetClassNameW(w, cls, 256);
        GetWindowTextW(w, title, 256);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char head[64];
        std::snprintf(head, sizeof head, "0x%08lX\t%lu\t", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)),
                      static_cast<unsigned long>(pid));
        Out(head + Utf8(cls) + "\t" + Utf8(title));
    }
    return 0;
}

// start-together EXE TAIL...: copies started at one moment; prints how many still run.
int Together(Context& c)
{
    if (c.args.size() < 2)
        return Usage();
    std::string error;
    const int running = StartTogether(c.args[0], {c.args.begin() + 1, c.args.end()}, DefaultTimeoutMs * 3, error);
    if (running < 0)
        Fail(error);
    else
        Out("running=" + std::to_string(running));
    return running < 0;
}

// Closes the program's dialog boxes (Cancel where there is one, else OK),
// printing each one's title and texts: for machines that lack a device a box
// reports on, such as a MIDI synthesiser.
int Dismiss(Context& c)
{
    DWORD ours = 0, pid = 0;
    GetWindowThreadProcessId(c.controller, &ours);
    for (HWND box : TopWindows()) {
        wchar_t cls[16] = {}, title[256] = {};
        GetClassNameW(box, cls, 16);
        GetWindowThreadProcessId(box, &pid);
        if (pid != ours || !IsWindowVisible(box) || std::wcscmp(cls, L"#32770") != 0)
            continue;
        GetWindowTextW(box, title, 256);
        Out(Utf8(title) + "\t" + Utf8(StaticTexts(box)));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK, BN_CLICKED), 0);
    }
    return 0;
}

// Drops files on the list as the shell does.
int Drop(Context& c)
{
    if (c.args.empty())
        return Usage();
    std::string error;
    return DropFiles(c.list, c.args, error, SendTimeoutMs) ? 0 : Fail(error);
}

constexpr std::pair<UINT, WPARAM> LeftDown{WM_LBUTTONDOWN, MK_LBUTTON}, LeftUp{WM_LBUTTONUP, 0},
    RightDown{WM_RBUTTONDOWN, MK_RBUTTON}, RightUp{WM_RBUTTONUP, 0}, Double{WM_LBUTTONDBLCLK, MK_LBUTTON};

struct Command {
    const wchar_t* name;
    Handler run;
    bool needsWindow;
    const char* usage;
};

constexpr Command Commands[] = {
    {L"wait-window", WaitWindow, false, "wait-window [ms]: wait for the controller; print its handle"},
    {L"wait-gone", WaitGone, false, "wait-gone [ms]: wait until no controller is left"},
    {L"list", List, true, "list [N]: the (first N) lines: item data, TAB, text"},
    {L"count", [](Context& c) { return Out(std::to_string(c.Count())), 0; }, true, "count: number of lines"},
    {L"wait-count", WaitCount, true, "wait-count N [ms]: wait until the list has N lines; print the count"},
    {L"selected", [](Context& c) { return Out(std::to_string(SendMessageW(c.list, LB_GETCURSEL, 0, 0))), 0; }, true,
     "selected: index of the selected line, -1 for none"},
    {L"click",
     [](Context& c) {
         return Mouse(c, c.controller, {LeftDown, LeftUp}, false, true);
     },
     true, "click X Y: left press and release at client (X, Y), sent; print the ms their handling took"},
    {L"press", [](Context& c) { return Mouse(c, c.controller, {LeftDown}, false); }, true, "press X Y: sent"},
    {L"release", [](Context& c) { return Mouse(c, c.controller, {LeftUp}, false); }, true, "release X Y: sent"},
    {L"post-click",
     [](Context& c) {
         return Mouse(c, c.controller, {LeftDown, LeftUp}, true);
     },
     true, "post-click X Y [X2 Y2]: press (released at X2 Y2), posted: for buttons that open a modal dialog"},
    {L"rclick",
     [](Context& c) {
         return Mouse(c, c.controller, {RightDown, RightUp}, true);
     },
     true, "rclick X Y: right press and release, posted (a menu may open)"},
    {L"rclick-list",
     [](Context& c) {
         return LineToPoint(c) ? Mouse(c, c.list, {RightDown, RightUp}, true) : Fail("no such line");
     },
     true, "rclick-list N: the same on list line N"},
    {L"select", Select, true, "select N: select list line N (-1: none); print the result"},
    {L"dblclick",
     [](Context& c) {
         return LineToPoint(c) ? Mouse(c, c.list, {LeftDown, LeftUp, Double, LeftUp}, false) : Fail("no such line");
     },
     true, "dblclick N: double click on list line N, sent"},
    {L"key", Key, true, "key VK [list]: key down and up, sent to the controller (or its list box)"},
    {L"rect", [](Context& c) { return Rect(c.controller); }, true, "rect: the controller's left top right bottom"},
    {L"watch-visible", WatchVisible, true, "watch-visible MS: the controller's visibility at the start and changes"},
    {L"start", Start, false, "start EXE [TAIL]: run \"EXE\" TAIL as the shell would; wait; print exit= ms="},
    {L"panel", Panel, true, "panel: 1 or 0, is the settings panel shown"},
    {L"menu",
     [](Context& c) {
         HWND menu = WaitPopupMenu(c.controller, c.Timeout(0));
         return menu ? Rect(menu) : Fail("no popup menu came up");
     },
     true, "menu [ms]: wait for the program's popup menu; print its screen rectangle"},
    {L"menu-keys",
     [](Context& c) {
         HWND menu = c.args.empty() ? nullptr : WaitPopupMenu(c.controller, DefaultTimeoutMs);
         return menu && PostMenuKeys(menu, c.args) ? 0 : Fail("no popup menu to type into");
     },
     true, "menu-keys KEY...: post keys to the open menu: a number is a virtual key, else characters"},
    {L"file-dialog", FileDialog, true, "file-dialog [NAME | --cancel]: print title TAB name; type NAME; OK or Cancel"},
    {L"dialog",
     [](Context& c) {
         HWND dialog = WaitDialogWith(c.controller, nullptr, c.Timeout(0));
         wchar_t title[256] = {};
         if (!dialog)
             return Fail("no dialog box came up");
         GetWindowTextW(dialog, title, 256);
         return Out(Utf8(title)), 0;
     },
     true, "dialog [ms]: wait for a dialog box of the program; print its title"},
    {L"browse", Browse, true, "browse [PATH]: print the folder browser's texts; choose PATH and OK, or Cancel"},
    {L"close", [](Context& c) { return PostMessageW(c.controller, WM_CLOSE, 0, 0), 0; }, true, "close: post WM_CLOSE"},
    {L"visible", [](Context& c) { return Flag(IsWindowVisible(c.controller)); }, true, "visible: 1 or 0"},
    {L"iconic", [](Context& c) { return Flag(IsIconic(c.controller)); }, true, "iconic: 1 or 0"},
    {L"foreground", [](Context& c) { return Flag(GetForegroundWindow() == c.controller); }, true, "foreground: 1/0"},
    {L"minimize",
     [](Context& c) {
         ShowWindow(c.controller, SW_MINIMIZE);
         return WaitUntil(DefaultTimeoutMs, [&] { return IsIconic(c.controller) != 0; }) ? 0 : Fail("not minimised");
     },
     true, "minimize: minimise the controller"},
    {L"prop",
     [](Context& c) {
         std::string name = c.args.size() == 1 ? Utf8(c.args[0]) : "";
         HANDLE value = GetPropA(c.controller, name.c_str());
         return value || name.size() ? (Out(std::to_string(reinterpret_cast<INT_PTR>(value))), 0) : Usage();
     },
     true, "prop NAME: print the controller's window property NAME"},
    {L"drop", Drop, true, "drop PATH...: drop files on the list, as the shell does"},
    {L"windows", Windows, false, "windows: visible top-level windows: hwnd, pid, class, title"},
    {L"dismiss", Dismiss, true, "dismiss: close the program's dialog boxes; print their texts"},
    {L"start-together", Together, false, "start-together EXE TAIL...: copies started at one moment; print running=N"},
};

int Usage()
{
    std::string text = "usage: ltprobe COMMAND [ARGS]";
    for (const Command& cmd : Commands)
        text += std::string("\n  ") + cmd.usage;
    Fail(text);
    return 2;
}

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
    if (int code = 0; RunMovieCommand(name, c.args, code))
        return code;
    if (int code = 0; RunViewerCommand(name, c.args, code))
        return code;
    if (int code = 0; RunPlayerCommand(name, c.args, code))
        return code;
    for (const Command& cmd : Commands) {
        if (name != cmd.name)
            continue;
        if (cmd.needsWindow) {
            c.controller = FindController();
            // The file list is the list box at client (8, 32), else the first.
            if (c.controller && !(c.list = ChildAt(c.controller, 8, 32, L"ListBox")))
                c.list = FindWindowExW(c.controller, nullptr, L"ListBox", nullptr);
            if (!c.list)
                return Fail(c.controller ? "controller has no list box" : "no window \"Controller\"");
        }
        return cmd.run(c);
    }
    if (int code = 0; RunSettingsCommand(name, c.args, code))
        return code;
    return Usage();
}

} // namespace lt::probe

int main()
{
    return lt::probe::Run();
}
