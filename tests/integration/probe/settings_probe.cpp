// Settings panel, registry and shell-open commands of ltprobe:
//   panel-get ID             text of the panel's control ID (combo box:
//                            "selected count")
//   panel-set ID TEXT        put TEXT into the panel's box ID
//   panel-combo N            select entry N of the MIDI port list
//   panel-click ID           press the panel's button ID, sent: print the
//                            milliseconds its handling took
//   panel-post ID            the same, posted (for buttons that show a
//                            message box)
//   panel-mouse down|up X Y  left press or release on the panel at (X, Y)
//   panel-bench N            time N openings of the panel by the Option
//                            button and N presets, each beside the bare
//                            platform calls doing the same work; print
//                            "what milliseconds" rows
//   reg ROOT KEY [NAME]      a registry value: "sz<TAB>text", "binary<TAB>hex
//                            bytes", "dword<TAB>n" or "missing"; ROOT is
//                            HKCR, HKCU or HKLM
//   shell-open PATH          open PATH the way the shell does with its type's
//                            default verb; print the command it ran and the
//                            exit code
#include "settings_probe.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dialogs.h"

namespace lt::probe {

namespace {

constexpr UINT SendTimeoutMs = 30000;

// UTF-8 bytes and a bare line feed, written straight to the handle.
void Print(DWORD handle, const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    s += '\n';
    DWORD put = 0;
    WriteFile(GetStdHandle(handle), s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
}
int Fail(const std::wstring& what)
{
    Print(STD_ERROR_HANDLE, L"ltprobe: " + what);
    return 1;
}

HWND FindPanel()
{
    HWND controller = FindWindowW(nullptr, L"Controller");
    return controller ? FindWindowExW(controller, nullptr, L"LumatroveSettings", nullptr) : nullptr;
}

std::wstring Ansi(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}
std::string ToAnsi(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

int Number(const std::wstring& s)
{
    return static_cast<int>(std::wcstol(s.c_str(), nullptr, 10));
}

int PanelCommand(const std::wstring& name, const std::vector<std::wstring>& args)
{
    HWND panel = FindPanel();
    if (!panel)
        return Fail(L"no settings panel");
    if (name == L"panel-mouse") {
        if (args.size() != 3)
            return Fail(L"usage: panel-mouse down|up X Y");
        const UINT msg = args[0] == L"down" ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutW(panel, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                                 MAKELPARAM(Number(args[1]), Number(args[2])), SMTO_NORMAL, SendTimeoutMs, &r))
            return Fail(L"the panel did not answer");
        return 0;
    }
    if (args.empty())
        return Fail(L"usage: " + name + L" ID ...");
    const int id = Number(args[0]);
    HWND control = GetDlgItem(panel, id);
    if (name == L"panel-combo")
        control = GetDlgItem(panel, 620);
    if (!control)
        return Fail(L"no control " + args[0] + L" on the panel");
    DWORD_PTR r = 0;
    if (name == L"panel-get") {
        wchar_t cls[32] = {};
        GetClassNameW(control, cls, 32);
        if (lstrcmpiW(cls, L"ComboBox") == 0) {
            LRESULT sel = SendMessageW(control, CB_GETCURSEL, 0, 0), count = SendMessageW(control, CB_GETCOUNT, 0, 0);
            Print(STD_OUTPUT_HANDLE, std::to_wstring(static_cast<long>(sel)) + L" " + std::to_wstring(static_cast<long>(count)));
        } else {
            Print(STD_OUTPUT_HANDLE, ControlText(control));
        }
        return 0;
    }
    if (name == L"panel-set") {
        const std::wstring text = args.size() > 1 ? args[1] : L"";
        SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, SendTimeoutMs,
                            &r);
        return 0;
    }
    if (name == L"panel-combo") {
        SendMessageTimeoutW(control, CB_SETCURSEL, static_cast<WPARAM>(id), 0, SMTO_NORMAL, SendTimeoutMs, &r);
        return 0;
    }
    const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
    if (name == L"panel-post") {
        PostMessageW(panel, WM_COMMAND, command, reinterpret_cast<LPARAM>(control));
        return 0;
    }
    // panel-click
    const DWORD start = GetTickCount();
    if (!SendMessageTimeoutW(panel, WM_COMMAND, command, reinterpret_cast<LPARAM>(control), SMTO_NORMAL,
                             SendTimeoutMs, &r))
        return Fail(L"the click was not handled in time");
    Print(STD_OUTPUT_HANDLE, std::to_wstring(GetTickCount() - start));
    return 0;
}

double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

bool SendNow(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, SendTimeoutMs, &r) != 0;
}

// Mean milliseconds of the panel's work against the bare calls that do the
// same for the window system: showing the panel window, and setting the six
// boxes a preset writes.
int PanelBench(const std::vector<std::wstring>& args)
{
    const int rounds = args.empty() ? 20 : Number(args[0]);
    HWND controller = FindWindowW(nullptr, L"Controller");
    HWND panel = FindPanel();
    if (!panel || rounds <= 0)
        return Fail(L"no settings panel (or no rounds)");
    const LPARAM option = MAKELPARAM(267, 10); // the Option button
    double open = 0, show = 0, preset = 0, texts = 0;
    for (int i = 0; i < rounds; ++i) {
        if (IsWindowVisible(panel))
            SendNow(controller, WM_LBUTTONDOWN, MK_LBUTTON, option), SendNow(controller, WM_LBUTTONUP, 0, option);
        double t = Now();
        SendNow(controller, WM_LBUTTONDOWN, MK_LBUTTON, option);
        SendNow(controller, WM_LBUTTONUP, 0, option);
        open += Now() - t;
        if (!IsWindowVisible(panel))
            return Fail(L"the Option button did not open the panel");

        t = Now();
        SendNow(panel, WM_COMMAND, MAKEWPARAM(636, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, 636)));
        preset += Now() - t;
        t = Now();
        for (int id = 610; id <= 615; ++id)
            SendNow(GetDlgItem(panel, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1024"));
        texts += Now() - t;

        ShowWindow(panel, SW_HIDE);
        t = Now();
        ShowWindow(panel, SW_SHOWNA);
        show += Now() - t;
    }
    auto row = [rounds](const wchar_t* what, double total) {
        wchar_t line[64];
        std::swprintf(line, 64, L"%ls %.3f", what, total / rounds);
        Print(STD_OUTPUT_HANDLE, line);
    };
    row(L"open", open);
    row(L"open-bare", show);
    row(L"preset", preset);
    row(L"preset-bare", texts);
    return 0;
}

HKEY Root(const std::wstring& name)
{
    if (name == L"HKCR")
        return HKEY_CLASSES_ROOT;
    if (name == L"HKCU")
        return HKEY_CURRENT_USER;
    if (name == L"HKLM")
        return HKEY_LOCAL_MACHINE;
    return nullptr;
}

// A value as the program wrote it: ANSI text, read back with the A calls.
bool ReadValue(HKEY root, const std::string& key, const std::string& name, DWORD& type, std::string& data)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool ok = RegQueryValueExA(k, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    data.assign(size, '\0');
    ok = ok && RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
                   ERROR_SUCCESS;
    data.resize(size);
    RegCloseKey(k);
    return ok;
}

int Reg(const std::vector<std::wstring>& args)
{
    if (args.size() < 2 || args.size() > 3 || !Root(args[0]))
        return Fail(L"usage: reg HKCR|HKCU|HKLM KEY [NAME]");
    DWORD type = 0;
    std::string data;
    if (!ReadValue(Root(args[0]), ToAnsi(args[1]), args.size() == 3 ? ToAnsi(args[2]) : "", type, data)) {
        Print(STD_OUTPUT_HANDLE, L"missing");
        return 0;
    }
    if (type == REG_SZ) {
        // The stored size counts the terminating NUL; show it as \0.
        std::wstring text = data.empty() || data.back() != '\0' ? Ansi(data) : Ansi(data.substr(0, data.size() - 1)) + L"\\0";
        Print(STD_OUTPUT_HANDLE, L"sz\t" + text);
    } else if (type == REG_BINARY) {
        std::wstring hex;
        for (unsigned char b : data) {
            wchar_t two[4];
            std::swprintf(two, 4, L"%02x", b);
            hex += (hex.empty() ? L"" : L" ") + std::wstring(two);
        }
        Print(STD_OUTPUT_HANDLE, L"binary\t" + hex);
    } else {
        Print(STD_OUTPUT_HANDLE, L"type " + std::to_wstring(type));
    }
    return 0;
}

std::string ReadText(const std::string& key)
{
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_CLASSES_ROOT, key, "", type, data) || type != REG_SZ)
        return {};
    return data.substr(0, data.find('\0'));
}

// What the shell does for a double click: extension -> class -> its default
// verb -> that verb's command, with %1 replaced by the file's path.
int ShellOpen(const std::vector<std::wstring>& args)
{
    if (args.size() != 1)
        return Fail(L"usage: shell-open PATH");
    const std::string path = ToAnsi(args[0]);
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return Fail(L"no extension in " + args[0]);
    const std::string ext = path.substr(dot);
    const std::string cls = ReadText(ext);
    const std::string verb = ReadText(cls + "\\Shell");
    std::string command = ReadText(cls + "\\Shell\\" + verb + "\\command");
    if (cls.empty() || verb.empty() || command.empty())
        return Fail(L"no open command registered for " + Ansi(ext));
    const size_t at = command.find("%1");
    if (at != std::string::npos)
        command.replace(at, 2, path);
    Print(STD_OUTPUT_HANDLE, Ansi(command));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return Fail(L"cannot run the command");
    CloseHandle(pi.hThread);
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    Print(STD_OUTPUT_HANDLE, L"exit=" + std::to_wstring(code));
    return 0;
}

} // namespace

bool RunSettingsCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode)
{
    if (name == L"panel-bench")
        exitCode = PanelBench(args);
    else if (name.rfind(L"panel-", 0) == 0)
        exitCode = PanelCommand(name, args);
    else if (name == L"reg")
        exitCode = Reg(args);
    else if (name == L"shell-open")
        exitCode = ShellOpen(args);
    else
        return false;
    return true;
}

} // namespace lt::probe
