#include "input.h"

#include <winternl.h>

#include <cwctype>
#include <map>

namespace lt::probe {

namespace {

// The process's window, or w itself when it is a top-level window.
HWND TopOf(HWND w)
{
    HWND top = GetAncestor(w, GA_ROOT);
    return top ? top : w;
}

// The probe's input goes to the thread that owns w: the two threads share
// input state while this lives, so that the focus can be set across them.
class SharedInput {
public:
    explicit SharedInput(HWND w)
        : ours_(GetCurrentThreadId()), theirs_(GetWindowThreadProcessId(w, nullptr)),
          attached_(theirs_ && theirs_ != ours_ && AttachThreadInput(ours_, theirs_, TRUE))
    {
    }
    ~SharedInput()
    {
        if (attached_)
            AttachThreadInput(ours_, theirs_, FALSE);
    }
    SharedInput(const SharedInput&) = delete;
    SharedInput& operator=(const SharedInput&) = delete;

private:
    DWORD ours_, theirs_;
    bool attached_;
};

bool BringForward(HWND w, std::string& error)
{
    HWND top = TopOf(w);
    SetForegroundWindow(top);
    SetActiveWindow(top);
    if (w != top)
        SetFocus(w);
    for (int i = 0; i < 50 && GetForegroundWindow() != top; ++i)
        Sleep(20);
    if (GetForegroundWindow() != top) {
        error = "the window cannot be made the foreground window";
        return false;
    }
    return true;
}

// Until w's thread has handled what was queued to it: a sent message is
// answered only when its thread asks for messages again.
void Settle(HWND w)
{
    for (int i = 0; i < 3; ++i) {
        Sleep(40);
        DWORD_PTR r = 0;
        SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
    }
}

INPUT Key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    const bool extended = vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME ||
                          vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_DELETE || vk == VK_INSERT ||
                          vk == VK_APPS;
    if (extended)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return in;
}

// "ctrl+shift+x" -> modifiers and the key; 0 for a name not known.
bool ParseKey(std::wstring name, std::vector<WORD>& modifiers, WORD& key)
{
    static const std::map<std::wstring, WORD> named = {
        {L"enter", VK_RETURN}, {L"esc", VK_ESCAPE}, {L"space", VK_SPACE}, {L"tab", VK_TAB}, {L"delete", VK_DELETE},
        {L"up", VK_UP}, {L"down", VK_DOWN}, {L"left", VK_LEFT}, {L"right", VK_RIGHT}, {L"home", VK_HOME},
        {L"end", VK_END}, {L"pageup", VK_PRIOR}, {L"pagedown", VK_NEXT}, {L"apps", VK_APPS},
        {L"back", VK_BACK}, {L"+", VK_ADD}, {L"-", VK_SUBTRACT}, {L"=", VK_OEM_PLUS}, {L"plus", VK_OEM_PLUS},
        {L"minus", VK_OEM_MINUS}};
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    for (size_t plus; name.size() > 1 && (plus = name.find(L'+')) != std::wstring::npos && plus + 1 < name.size();) {
        const std::wstring mod = name.substr(0, plus);
        name = name.substr(plus + 1);
        if (mod == L"ctrl")
            modifiers.push_back(VK_CONTROL);
        else if (mod == L"shift")
            modifiers.push_back(VK_SHIFT);
        else if (mod == L"alt")
            modifiers.push_back(VK_MENU);
        else
            return false;
    }
    if (auto it = named.find(name); it != named.end())
        key = it->second;
    else if (name.size() >= 2 && name[0] == L'f' && std::iswdigit(name[1]))
        key = static_cast<WORD>(VK_F1 + std::stoi(name.substr(1)) - 1);
    else if (name.size() == 1 && (std::iswalnum(name[0])))
        key = static_cast<WORD>(std::towupper(name[0]));
    else
        return false;
    return true;
}

} // namespace

bool TypeKeys(HWND w, const std::vector<std::wstring>& keys, std::string& error)
{
    SharedInput shared(w);
    if (!BringForward(w, error))
        return false;
    for (const std::wstring& name : keys) {
        std::vector<WORD> modifiers;
        WORD key = 0;
        if (!ParseKey(name, modifiers, key)) {
            error = "unknown key";
            return false;
        }
        std::vector<INPUT> seq;
        for (WORD m : modifiers)
            seq.push_back(Key(m, false));
        seq.push_back(Key(key, false));
        seq.push_back(Key(key, true));
        for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
            seq.push_back(Key(*m, true));
        if (SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT)) != seq.size()) {
            error = "SendInput refused the keys";
            return false;
        }
        Settle(w);
    }
    return true;
}

bool TurnWheel(HWND w, int x, int y, int delta, bool ctrl, std::string& error)
{
    SharedInput shared(w);
    if (!BringForward(w, error))
        return false;
    POINT p{x, y};
    ClientToScreen(w, &p);
    SetCursorPos(p.x, p.y);
    Sleep(50);
    std::vector<INPUT> seq;
    if (ctrl)
        seq.push_back(Key(VK_CONTROL, false));
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(delta);
    seq.push_back(wheel);
    if (ctrl)
        seq.push_back(Key(VK_CONTROL, true));
    if (SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT)) != seq.size()) {
        error = "SendInput refused the wheel";
        return false;
    }
    Settle(w);
    return true;
}

HWND FocusOf(HWND w)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) ? info.hwndFocus : nullptr;
}

namespace {

// Wine keeps a GDI handle table per process (24-byte entries, a non-zero
// type byte at offset 14 marking a live object), found through the
// process's PEB as on Windows.
constexpr size_t WineGdiEntries = 0x10000, WineGdiEntrySize = 24, WineGdiTypeOffset = 14;

bool OnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

long CountGdiTable(HANDLE process, std::string& error)
{
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG got = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &got) != 0) {
        error = "cannot read the process's information";
        return -1;
    }
    // The probe is built for the program's architecture, so the PEB's layout is its own.
    const SIZE_T tableField = sizeof(void*) == 8 ? 0xF8 : 0x94;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<const BYTE*>(static_cast<void*>(basic.PebBaseAddress)) + tableField,
                           &table, sizeof table, &read) ||
        !table) {
        error = "the process has no GDI handle table";
        return -1;
    }
    std::vector<BYTE> entries(WineGdiEntries * WineGdiEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read) || read != entries.size()) {
        error = "cannot read the GDI handle table";
        return -1;
    }
    long live = 0;
    for (size_t i = 0; i < WineGdiEntries; ++i)
        live += entries[i * WineGdiEntrySize + WineGdiTypeOffset] != 0;
    return live;
}

struct WindowCount {
    DWORD pid;
    long n;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp)
{
    ++reinterpret_cast<WindowCount*>(lp)->n;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM lp)
{
    auto* count = reinterpret_cast<WindowCount*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == count->pid) {
        ++count->n;
        EnumChildWindows(w, CountChild, lp);
    }
    return TRUE;
}

} // namespace

bool GuiObjects(HWND w, std::string& out, std::string& error)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        error = "cannot open the process";
        return false;
    }
    long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
    long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    if (gdi == 0 && OnWine())
        gdi = CountGdiTable(process, error);
    CloseHandle(process);
    if (gdi < 0)
        return false;
    if (user == 0) {
        WindowCount count{pid, 0};
        EnumWindows(CountTop, reinterpret_cast<LPARAM>(&count));
        user = count.n;
    }
    out = std::to_string(gdi) + " " + std::to_string(user);
    return true;
}

namespace {

bool g_lost = false;

LRESULT CALLBACK FocusProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE)
        g_lost = true;
    return DefWindowProcW(w, msg, wp, lp);
}

} // namespace

std::string HoldFocus(DWORD ms, void (*ready)())
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = FocusProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LtProbeFocus";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"probe focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 300,
                             200, nullptr, nullptr, wc.hInstance, nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, w, nullptr,
                                wc.hInstance, nullptr);
    SetForegroundWindow(w);
    SetFocus(edit);
    MSG msg;
    const DWORD start = GetTickCount();
    bool told = false;
    bool focusLost = false;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!told && GetForegroundWindow() == w && GetFocus() == edit) {
            told = true;
            g_lost = false;
            ready();
        }
        if (told && GetFocus() != edit)
            focusLost = true;
        Sleep(10);
    }
    const bool foreground = told && !g_lost && GetForegroundWindow() == w;
    DestroyWindow(w);
    return std::string(told ? "" : "never focused ") + "foreground=" + (foreground ? "1" : "0") +
           " focus=" + (told && !focusLost ? "1" : "0");
}

} // namespace lt::probe
