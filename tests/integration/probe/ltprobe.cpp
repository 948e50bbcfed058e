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
//   rclick X Y             right press and release, posted (a menu may open)
//   key VK                 key down and up, sent
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

#include "drop.h"

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
void Out(const std::string& s) { Write(GetStdHandle(STD_OUTPUT_HANDLE), s + "\n"); }
void Err(const std::string& s) { Write(GetStdHandle(STD_ERROR_HANDLE), "ltprobe: " + s + "\n"); }

HWND FindController() { return FindWindowW(nullptr, ControllerTitle); }

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

// Polls until ok() holds or the time is up.
template <typename Pred>
bool WaitFor(DWORD timeoutMs, Pred ok)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (ok())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr)
{
    DWORD_PTR r = 0;
    bool ok = SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, SendTimeoutMs, &r) != 0;
    if (result)
        *result = r;
    return ok;
}

LRESULT ListCount(HWND list) { return SendMessageW(list, LB_GETCOUNT, 0, 0); }

struct Context {
    std::vector<std::wstring> args; // after the command name
    HWND controller = nullptr;
    HWND list = nullptr;
};

using Handler = int (*)(Context&);

int Usage()
{
    Err("usage: ltprobe wait-window [ms] | wait-gone [ms] | list | count | wait-count N [ms] | selected |"
        " click X Y | rclick X Y | key VK | close | visible | iconic | foreground | minimize |"
        " prop NAME | drop PATH... | windows | start EXE [TAIL] | dismiss");
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
    if (!WaitFor(TimeoutArg(c, 0), [&] { return (w = FindController()) != nullptr; })) {
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
    if (!WaitFor(TimeoutArg(c, 0), [] { return FindController() == nullptr; })) {
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
    bool ok = WaitFor(TimeoutArg(c, 1), [&] { return (n = ListCount(c.list)) == want; });
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

int Key(Context& c)
{
    long vk = 0;
    if (c.args.size() != 1 || !ParseInt(c.args[0], vk))
        return Usage();
    UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1L << 30) | (1L << 31);
    if (!Send(c.controller, WM_KEYDOWN, static_cast<WPARAM>(vk), down) ||
        !Send(c.controller, WM_KEYUP, static_cast<WPARAM>(vk), up)) {
        Err("key was not handled in time");
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
    if (!WaitFor(DefaultTimeoutMs, [&] { return IsIconic(c.controller) != 0; })) {
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
    {L"wait-window", WaitWindow, false}, {L"wait-gone", WaitGone, false}, {L"list", List, true},
    {L"count", Count, true},             {L"wait-count", WaitCount, true}, {L"selected", Selected, true},
    {L"click", Click, true},             {L"rclick", RightClick, true},   {L"key", Key, true},
    {L"close", Close, true},             {L"visible", Visible, true},     {L"iconic", Iconic, true},
    {L"foreground", Foreground, true},   {L"minimize", Minimize, true},   {L"prop", Prop, true},
    {L"drop", Drop, true},               {L"windows", Windows, false},    {L"start", Start, false},
    {L"dismiss", Dismiss, true},
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

int main() { return lt::probe::Run(); }
