// Settings panel commands of ltprobe (ID: a control id of the panel):
//   panel-get ID             the control's text (the port list: "selected count")
//   panel-set ID TEXT        put TEXT into box ID (the port list: select entry TEXT)
//   panel-click ID           press button ID, sent; print the milliseconds it took
//   panel-post ID            the same, posted (for buttons that show a message box)
//   panel-mouse down|up X Y  left press or release on the panel at (X, Y)
//   panel-bench N            mean milliseconds of N openings by the Option
//                            button and N presets, each beside the bare calls
//                            doing the same for the window system
#include "settings_probe.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "dialogs.h"

namespace lt::probe {

namespace {

constexpr int PortList = 620, FirstBox = 610, Preset = 636;

void Print(DWORD handle, const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    s += '\n';
    DWORD put = 0;
    WriteFile(GetStdHandle(handle), s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr)
{
    DWORD_PTR r = 0;
    bool ok = SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 30000, &r) != 0;
    if (result)
        *result = r;
    return ok;
}

double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

WPARAM Clicked(int id)
{
    return MAKEWPARAM(id, BN_CLICKED);
}

int Bench(HWND controller, HWND panel, int rounds)
{
    const LPARAM option = MAKELPARAM(267, 10); // the Option button
    auto toggle = [&] { return Send(controller, WM_LBUTTONDOWN, MK_LBUTTON, option) && Send(controller, WM_LBUTTONUP, 0, option); };
    double open = 0, show = 0, preset = 0, texts = 0;
    for (int i = 0; i < rounds; ++i) {
        if (IsWindowVisible(panel))
            toggle();
        double t = Now();
        if (!toggle() || !IsWindowVisible(panel))
            return 1;
        open += Now() - t;
        t = Now();
        Send(panel, WM_COMMAND, Clicked(Preset), reinterpret_cast<LPARAM>(GetDlgItem(panel, Preset)));
        preset += Now() - t;
        t = Now();
        for (int id = FirstBox; id < FirstBox + 6; ++id)
            Send(GetDlgItem(panel, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1024"));
        texts += Now() - t;
        ShowWindow(panel, SW_HIDE);
        t = Now();
        ShowWindow(panel, SW_SHOWNA);
        show += Now() - t;
    }
    wchar_t out[160];
    std::swprintf(out, 160, L"open %.3f\nopen-bare %.3f\npreset %.3f\npreset-bare %.3f", open / rounds,
                  show / rounds, preset / rounds, texts / rounds);
    Print(STD_OUTPUT_HANDLE, out);
    return 0;
}

int Panel(const std::wstring& name, const std::vector<std::wstring>& args)
{
    HWND controller = FindWindowW(nullptr, L"Controller");
    HWND panel = controller ? FindWindowExW(controller, nullptr, L"LumatroveSettings", nullptr) : nullptr;
    const int n = args.empty() ? 0 : static_cast<int>(std::wcstol(args[0].c_str(), nullptr, 10));
    HWND control = panel ? GetDlgItem(panel, n) : nullptr;
    DWORD_PTR r = 0;
    if (panel && name == L"panel-bench")
        return Bench(controller, panel, n > 0 ? n : 20);
    if (panel && name == L"panel-mouse" && args.size() == 3) {
        const bool down = args[0] == L"down";
        const LPARAM at = MAKELPARAM(std::wcstol(args[1].c_str(), nullptr, 10), std::wcstol(args[2].c_str(), nullptr, 10));
        return Send(panel, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, at) ? 0 : 1;
    }
    if (!control) {
        Print(STD_ERROR_HANDLE, L"ltprobe: no settings panel or no such control");
        return 1;
    }
    if (name == L"panel-get" && n == PortList) {
        Send(control, CB_GETCURSEL, 0, 0, &r);
        const long selected = static_cast<long>(static_cast<LRESULT>(r));
        Send(control, CB_GETCOUNT, 0, 0, &r);
        Print(STD_OUTPUT_HANDLE, std::to_wstring(selected) + L" " + std::to_wstring(r));
    } else if (name == L"panel-get") {
        Print(STD_OUTPUT_HANDLE, ControlText(control));
    } else if (name == L"panel-set" && args.size() == 2) {
        if (n == PortList)
            Send(control, CB_SETCURSEL, std::wcstol(args[1].c_str(), nullptr, 10), 0);
        else
            Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1].c_str()));
    } else if (name == L"panel-post") {
        PostMessageW(panel, WM_COMMAND, Clicked(n), reinterpret_cast<LPARAM>(control));
    } else if (name == L"panel-click") {
        const DWORD start = GetTickCount();
        if (!Send(panel, WM_COMMAND, Clicked(n), reinterpret_cast<LPARAM>(control)))
            return 1;
        Print(STD_OUTPUT_HANDLE, std::to_wstring(GetTickCount() - start));
    } else {
        return 2;
    }
    return 0;
}

} // namespace

bool RunSettingsCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode)
{
    if (name.rfind(L"panel-", 0) != 0)
        return false;
    exitCode = Panel(name, args);
    return true;
}

} // namespace lt::probe
