// ltprobe: looks at and drives a running Lumatrove from another process, the
// way a user or a second copy would. Runs under Wine in the same prefix.
//
//   ltprobe <command> [arguments]     (output is UTF-8 on stdout)
//
// Windows are named by a path (see Resolve): C the controller ("Controller"),
// L its file list, @CLASS a top-level window of the class, 0xHWND; then steps
// /CLASS[:n] (n-th child of the class, -1 the last), /#ID (a control) and /*
// (the first child). Exit status: 0 success, 1 the awaited state did not come
// or a window is missing, 2 bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "dialogs.h"
#include "drop.h"
#include "input.h"

namespace lt::probe {

int PanelBench(int rounds); // panel_bench.cpp, for scripts/bench

namespace {

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
int Out(const std::string& s)
{
    Write(STD_OUTPUT_HANDLE, s + "\n");
    return 0;
}
int Fail(const std::string& s)
{
    Write(STD_ERROR_HANDLE, "ltprobe: " + s + "\n");
    return 1;
}

std::string Hex(HWND w)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
    return text;
}

long Number(const std::wstring& s, long fallback = 0)
{
    wchar_t* end = nullptr;
    // Above LONG_MAX (0xC0000001, say) as the same 32 bits.
    long v = s.starts_with(L"-") ? std::wcstol(s.c_str(), &end, 0)
                                 : static_cast<long>(std::wcstoul(s.c_str(), &end, 0));
    return !s.empty() && end && *end == L'\0' ? v : fallback;
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr)
{
    DWORD_PTR r = 0;
    bool ok = SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, SendTimeoutMs, &r) != 0;
    if (result)
        *result = r;
    return ok;
}

HWND Controller()
{
    return FindWindowW(nullptr, L"Controller");
}

// The file list is the list box at client (8, 32), else the first one.
HWND FileList(HWND controller)
{
    HWND first = FindWindowExW(controller, nullptr, L"ListBox", nullptr);
    for (HWND c = first; c; c = FindWindowExW(controller, c, L"ListBox", nullptr)) {
        RECT r{};
        GetWindowRect(c, &r);
        POINT p{r.left, r.top};
        ScreenToClient(controller, &p);
        if (p.x == 8 && p.y == 32)
            return c;
    }
    return first;
}

HWND NthChild(HWND parent, const std::wstring& cls, long n)
{
    std::vector<HWND> all;
    for (HWND c = FindWindowExW(parent, nullptr, cls.c_str(), nullptr); c;
         c = FindWindowExW(parent, c, cls.c_str(), nullptr))
        all.push_back(c);
    if (n < 0)
        n += static_cast<long>(all.size());
    return n >= 0 && n < static_cast<long>(all.size()) ? all[static_cast<size_t>(n)] : nullptr;
}

HWND Resolve(const std::wstring& path)
{
    size_t at = path.find(L'/');
    std::wstring head = path.substr(0, at);
    HWND w = head == L"C" || head == L"L"  ? Controller()
             : head.starts_with(L"@")      ? FindWindowW(head.c_str() + 1, nullptr)
                                           : reinterpret_cast<HWND>(static_cast<UINT_PTR>(Number(head)));
    if (w && head == L"L")
        w = FileList(w);
    while (w && at != std::wstring::npos) {
        size_t next = path.find(L'/', at + 1);
        std::wstring step = path.substr(at + 1, next == std::wstring::npos ? next : next - at - 1);
        size_t colon = step.find(L':');
        if (step == L"*")
            w = GetWindow(w, GW_CHILD);
        else if (step.starts_with(L"#"))
            w = GetDlgItem(w, static_cast<int>(Number(step.substr(1))));
        else
            w = NthChild(w, step.substr(0, colon), colon == std::wstring::npos ? 0 : Number(step.substr(colon + 1)));
        at = next;
    }
    return w && IsWindow(w) ? w : nullptr;
}

struct Context {
    std::vector<std::wstring> args; // after the command name
    long Num(size_t i, long fallback) const { return i < args.size() ? Number(args[i], fallback) : fallback; }
    DWORD Timeout(size_t i) const { return static_cast<DWORD>(Num(i, DefaultTimeoutMs)); }
    HWND Window(size_t i = 0) const { return i < args.size() ? Resolve(args[i]) : nullptr; }
};

using Handler = int (*)(Context&);
int Usage();

// find|shown|gone PATH [ms]: wait until the window exists (and is shown), or
// is hidden or gone; find and shown print its handle.
enum class Awaited { Exists, Shown, Gone };
int Await(Context& c, Awaited what)
{
    HWND w = nullptr;
    auto holds = [&] {
        w = c.Window();
        return what == Awaited::Gone ? !w || !IsWindowVisible(w) : w && (what == Awaited::Exists || IsWindowVisible(w));
    };
    if (!WaitUntil(c.Timeout(1), holds))
        return Fail("waited in vain for " + Utf8(c.args.empty() ? L"" : c.args[0]));
    return what == Awaited::Gone ? 0 : Out(Hex(w));
}

// info PATH...: a line each, "-" for a missing window, else: hwnd visible
// enabled foreground topmost iconic left top right bottom scrollmax scrollpos
// TAB text. The first window is asked a message first, so that what is read
// belongs to a moment between its messages.
int Info(Context& c)
{
    if (HWND first = c.Window())
        Send(first, WM_NULL, 0, 0);
    for (size_t i = 0; i < c.args.size(); ++i) {
        HWND w = c.Window(i);
        if (!w) {
            Out("-");
            continue;
        }
        RECT r{};
        GetWindowRect(w, &r);
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_POS;
        if (!GetScrollInfo(w, SB_CTL, &si))
            si.nMax = si.nPos = 0;
        char head[160];
        std::snprintf(head, sizeof head, "%s %d %d %d %d %d %ld %ld %ld %ld %d %d\t", Hex(w).c_str(),
                      IsWindowVisible(w) ? 1 : 0, IsWindowEnabled(w) ? 1 : 0, GetForegroundWindow() == w ? 1 : 0,
                      GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST ? 1 : 0, IsIconic(w) ? 1 : 0, r.left, r.top,
                      r.right, r.bottom, si.nMax, si.nPos);
        Out(head + Utf8(ControlText(w)));
    }
    return 0;
}

// send|post PATH MSG[,WPARAM[,LPARAM]]...: numbers; an LPARAM may be X:Y, or
// =TEXT for a sent text (WM_SETTEXT, say). send prints the milliseconds their
// handling took, then each result.
int Message(Context& c, bool post)
{
    HWND w = c.Window();
    if (!w)
        return Fail("no window " + Utf8(c.args.empty() ? L"" : c.args[0]));
    std::string results;
    DWORD start = GetTickCount();
    for (size_t i = 1; i < c.args.size(); ++i) {
        std::wstring part[3];
        size_t n = 0;
        for (wchar_t ch : c.args[i])
            ch == L',' && n < 2 ? void(++n) : void(part[n] += ch);
        size_t colon = part[2].find(L':');
        LPARAM lp = part[2].starts_with(L"=") ? reinterpret_cast<LPARAM>(part[2].c_str() + 1)
                    : colon == std::wstring::npos
                        ? static_cast<LPARAM>(Number(part[2]))
                        : MAKELPARAM(Number(part[2].substr(0, colon)), Number(part[2].substr(colon + 1)));
        UINT msg = static_cast<UINT>(Number(part[0]));
        WPARAM wp = static_cast<WPARAM>(static_cast<unsigned long>(Number(part[1])));
        DWORD_PTR r = 0;
        if (!IsWindow(w)) // a message before closed it (Escape, say)
            break;
        if (post ? !PostMessageW(w, msg, wp, lp) : !Send(w, msg, wp, lp, &r))
            return Fail("message was not handled in time");
        results += " " + std::to_string(static_cast<long>(static_cast<LRESULT>(r)));
    }
    return Out(std::to_string(GetTickCount() - start) + results);
}

// prop PATH NAME...: window properties as numbers, one line.
int Prop(Context& c)
{
    HWND w = c.Window();
    if (!w || c.args.size() < 2)
        return w ? Usage() : Fail("no such window");
    std::string values;
    for (size_t i = 1; i < c.args.size(); ++i)
        values += (i > 1 ? " " : "") + std::to_string(reinterpret_cast<INT_PTR>(GetPropW(w, c.args[i].c_str())));
    return Out(values);
}

// list [N]: the (first N) lines of the file list: item data, TAB, text.
int List(Context& c)
{
    HWND list = Resolve(L"L");
    LRESULT n = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
    if (long most = c.Num(0, -1); most >= 0 && most < n)
        n = most; // a long list read line by line from outside takes a while
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT len = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        Out(std::to_string(static_cast<long>(data)) + "\t" + Utf8(text));
    }
    return list ? 0 : Fail("no file list");
}

// watch-visible MS: the controller's visibility at the start and each change.
int WatchVisible(Context& c)
{
    const long span = c.Num(0, -1);
    HWND controller = Controller();
    if (c.args.size() != 1 || span < 0 || !controller)
        return controller ? Usage() : Fail("no controller");
    DWORD start = GetTickCount();
    for (int last = -1;; Sleep(5)) {
        DWORD now = GetTickCount() - start;
        int shown = IsWindowVisible(controller) ? 1 : 0;
        if (shown != last)
            Out(std::to_string(now) + " " + std::to_string(shown));
        last = shown;
        if (now >= static_cast<DWORD>(span))
            return 0;
    }
}

std::vector<HWND> TopWindows();

// A message box that `owner` has put up (the save dialog's overwrite question).
HWND OwnedBox(HWND owner)
{
    for (HWND w : TopWindows()) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w) && std::wcscmp(cls, L"#32770") == 0)
            return w;
    }
    return nullptr;
}

int FileDialog(Context& c)
{
    HWND dialog = WaitDialogWith(Controller(), L"Edit", DefaultTimeoutMs);
    HWND box = dialog ? FileNameBox(dialog) : nullptr;
    const bool yes = !c.args.empty() && c.args.back() == L"--yes";
    if (yes)
        c.args.pop_back();
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
    const int button = cancel ? IDCANCEL : IDOK;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    std::wstring asked;
    const bool gone = WaitUntil(DefaultTimeoutMs, [&] {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog))
            return true;
        if (HWND question = yes && asked.empty() ? OwnedBox(dialog) : nullptr) {
            asked = StaticTexts(question);
            PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        }
        return false;
    });
    if (!asked.empty())
        Out("asked\t" + Utf8(asked));
    if (!gone)
        return Fail("the file dialog stayed: " + Utf8(StaticTexts(dialog)) + " / " +
                    Utf8(OwnedBox(dialog) ? StaticTexts(OwnedBox(dialog)) : L""));
    return 0;
}

int Browse(Context& c)
{
    HWND browser = WaitDialogWith(Controller(), L"SysTreeView32", DefaultTimeoutMs);
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

// windows: visible top-level windows: hwnd, pid, class, "left top width height", title.
int Windows(Context&)
{
    for (HWND w : TopWindows()) {
        if (!IsWindowVisible(w))
            continue;
        wchar_t cls[256] = {}, title[512] = {};
        GetClassNameW(w, cls, 256);
        GetWindowTextW(w, title, 512);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        RECT r{};
        GetWindowRect(w, &r);
        char geo[64];
        std::snprintf(geo, sizeof geo, "%ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
        Out(Hex(w) + "\t" + std::to_string(pid) + "\t" + Utf8(cls) + "\t" + geo + "\t" + Utf8(title));
    }
    return 0;
}

// start EXE [TAIL]: runs "EXE" TAIL as the shell would (no quoting added to
// TAIL); waits for it to end; prints its exit code and the milliseconds.
// start-together EXE TAIL...: a copy per TAIL, started at one moment the way
// the shell starts one process per selected file (all created suspended, then
// let run); waits until at most one runs; prints how many still do.
int Start(Context& c, bool together)
{
    if (c.args.empty() || (!together && c.args.size() > 2) || (together && c.args.size() < 2))
        return Usage();
    const std::wstring exe = L"\"" + c.args[0] + L"\"";
    std::vector<std::wstring> lines;
    for (size_t i = 1; i < c.args.size(); ++i)
        lines.push_back(exe + L" " + c.args[i]);
    if (lines.empty())
        lines.push_back(exe);
    std::vector<PROCESS_INFORMATION> started;
    for (std::wstring& line : lines) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                            &pi))
            break;
        started.push_back(pi);
    }
    const DWORD start = GetTickCount();
    for (const PROCESS_INFORMATION& pi : started)
        ResumeThread(pi.hThread);
    int running = 0;
    for (const int most = together ? 1 : 0;; Sleep(20)) {
        running = 0;
        for (const PROCESS_INFORMATION& pi : started)
            running += WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
        if (running <= most || GetTickCount() - start >= DefaultTimeoutMs * 3)
            break;
    }
    DWORD code = 0;
    if (!started.empty())
        GetExitCodeProcess(started[0].hProcess, &code);
    for (const PROCESS_INFORMATION& pi : started)
        CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
    if (started.size() < lines.size())
        return Fail("cannot start " + Utf8(c.args[0]));
    if (together)
        return Out("running=" + std::to_string(running));
    return running ? Fail("still running after " + std::to_string(DefaultTimeoutMs * 3) + " ms")
                   : Out("exit=" + std::to_string(code) + " ms=" + std::to_string(GetTickCount() - start));
}

// Closes the program's dialog boxes (Cancel where there is one, else OK),
// printing each one's title and texts: for machines that lack a device a box
// reports on, such as a MIDI synthesiser.
int Dismiss(Context&)
{
    DWORD ours = 0, pid = 0;
    GetWindowThreadProcessId(Controller(), &ours);
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

// clip: the clipboard's bitmap: "W H", then a row of RRGGBB a line ("none").
int Clip(Context&)
{
    if (!OpenClipboard(nullptr))
        return Fail("clipboard busy");
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return CloseClipboard(), Out("none");
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
            std::snprintf(p, sizeof p, "%06lX", static_cast<unsigned long>(px[static_cast<size_t>(y * w + x)] & 0xFFFFFF));
            row += p;
        }
        Out(row);
    }
    return 0;
}

// hold FILE MS: opens FILE for reading, letting others only read it (as a
// loaded library is held), prints "held" and keeps it MS milliseconds.
int Hold(Context& c)
{
    if (c.args.empty())
        return Usage();
    HANDLE f = CreateFileW(c.args[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return Fail("cannot open " + Utf8(c.args[0]));
    Out("held");
    Sleep(static_cast<DWORD>(c.Num(1, 10000)));
    CloseHandle(f);
    return 0;
}

// type PATH KEY...: real key presses to the window, focused (see TypeKeys).
int Type(Context& c)
{
    HWND w = c.Window();
    std::string error;
    if (!w)
        return Fail("no window " + Utf8(c.args.empty() ? L"" : c.args[0]));
    if (!TypeKeys(w, std::vector<std::wstring>(c.args.begin() + 1, c.args.end()), error))
        return Fail(error);
    return 0;
}

// wheel PATH X Y DELTA [ctrl]: the wheel turned over client (X, Y).
int Wheel(Context& c)
{
    HWND w = c.Window();
    std::string error;
    if (!w || c.args.size() < 4)
        return w ? Usage() : Fail("no window");
    const bool ctrl = c.args.size() > 4 && c.args[4] == L"ctrl";
    if (!TurnWheel(w, static_cast<int>(c.Num(1, 0)), static_cast<int>(c.Num(2, 0)), static_cast<int>(c.Num(3, 120)),
                   ctrl, error))
        return Fail(error);
    return 0;
}

// gui PATH: "GDI USER" objects of the window's process.
int Gui(Context& c)
{
    HWND w = c.Window();
    std::string out, error;
    if (!w)
        return Fail("no window");
    if (!GuiObjects(w, out, error))
        return Fail(error);
    return Out(out);
}

struct Command {
    const wchar_t* name;
    Handler run;
    const char* usage;
};

constexpr Command Commands[] = {
    {L"find", [](Context& c) { return Await(c, Awaited::Exists); }, "find PATH [ms]: wait for it; print its handle"},
    {L"shown", [](Context& c) { return Await(c, Awaited::Shown); }, "shown PATH [ms]: the same, until it is shown"},
    {L"gone", [](Context& c) { return Await(c, Awaited::Gone); }, "gone PATH [ms]: until it is hidden or gone"},
    {L"info", Info, "info PATH...: hwnd visible enabled foreground topmost iconic rect scrollmax scrollpos TAB text"},
    {L"send", [](Context& c) { return Message(c, false); }, "send PATH MSG[,WP[,LP|X:Y]]...: print ms, results"},
    {L"post", [](Context& c) { return Message(c, true); }, "post PATH MSG[,WP[,LP|X:Y]]..."},
    {L"prop", Prop, "prop PATH NAME...: window properties as numbers"},
    {L"list", List, "list [N]: the (first N) lines: item data, TAB, text"},
    {L"watch-visible", WatchVisible, "watch-visible MS: the controller's visibility at the start and changes"},
    {L"start", [](Context& c) { return Start(c, false); }, "start EXE [TAIL]: run \"EXE\" TAIL as the shell would; wait; print exit= ms="},
    {L"start-together", [](Context& c) { return Start(c, true); }, "start-together EXE TAIL...: copies started at one moment; print running=N"},
    {L"menu",
     [](Context& c) {
         HWND menu = WaitPopupMenu(Controller(), c.Timeout(0));
         return menu ? Out(Hex(menu)) : Fail("no popup menu came up");
     },
     "menu [ms]: wait for the program's popup menu"},
    {L"menu-keys",
     [](Context& c) {
         HWND menu = c.args.empty() ? nullptr : WaitPopupMenu(Controller(), DefaultTimeoutMs);
         return menu && PostMenuKeys(menu, c.args) ? 0 : Fail("no popup menu to type into");
     },
     "menu-keys KEY...: post keys to the open menu: a number is a virtual key, else characters"},
    {L"file-dialog", FileDialog, "file-dialog [NAME | --cancel] [--yes]: print title TAB name; type NAME; OK or Cancel; --yes: "
                                  "answer Yes to a question it asks (print asked TAB text)"},
    {L"dialog",
     [](Context& c) {
         HWND dialog = WaitDialogWith(Controller(), nullptr, c.Timeout(0));
         wchar_t title[256] = {};
         return dialog ? (GetWindowTextW(dialog, title, 256), Out(Utf8(title))) : Fail("no dialog box came up");
     },
     "dialog [ms]: wait for a dialog box of the program; print its title"},
    {L"browse", Browse, "browse [PATH]: print the folder browser's texts; choose PATH and OK, or Cancel"},
    {L"drop",
     [](Context& c) {
         std::string error;
         HWND list = Resolve(L"L");
         return !list ? Fail("no file list") : DropFiles(list, c.args, error, SendTimeoutMs) ? 0 : Fail(error);
     },
     "drop PATH...: drop files on the list, as the shell does"},
    {L"windows", Windows, "windows: visible top-level windows: hwnd, pid, class, left top width height, title"},
    {L"dismiss", Dismiss, "dismiss: close the program's dialog boxes; print their texts"},
    {L"clip", Clip, "clip: the clipboard bitmap: W H, then rows of RRGGBB"},
    {L"type", Type, "type PATH KEY...: real key presses (ctrl+o, shift+f10, apps, space, up, f2, +...) to it, focused"},
    {L"wheel", Wheel, "wheel PATH X Y DELTA [ctrl]: turn the wheel over client (X, Y)"},
    {L"focus", [](Context& c) { HWND w = c.Window(); return w ? Out(Hex(FocusOf(w))) : Fail("no window"); },
     "focus PATH: the focused window of its thread"},
    {L"gui", Gui, "gui PATH: GDI and USER objects of its process"},
    {L"text", [](Context& c) { HWND w = c.Window(); return w ? Out(Utf8(ControlText(w))) : Fail("no window"); },
     "text PATH: the text the window answers to WM_GETTEXT (a tooltip's: its tip)"},
    {L"hold-focus", [](Context& c) { return Out(HoldFocus(static_cast<DWORD>(c.Num(0, 5000)), [] { Out("focused"); })); },
     "hold-focus MS: a focused window of the probe's own for MS ms; print focused, then whether it kept the focus"},
    {L"hold", Hold, "hold FILE MS: keep FILE open (others may only read it) for MS ms; print held"},
    {L"panel-bench", [](Context& c) { return PanelBench(static_cast<int>(c.Num(0, 20))); }, "panel-bench N"},
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
    for (const Command& cmd : Commands)
        if (name == cmd.name)
            return cmd.run(c);
    return Usage();
}

} // namespace lt::probe

int main()
{
    return lt::probe::Run();
}
