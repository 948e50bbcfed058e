// Settings panel commands of ltprobe (ID: a control id of the panel):
//   panel-get ID        the control's text (the port list: "selected count")
//   panel-set ID TEXT   put TEXT into box ID (the port list: select entry TEXT)
//   panel-click ID      press button ID, sent; print the milliseconds it took
//   panel-post ID       the same, posted (for buttons that show a message box)
//   panel-bench N       timings for scripts/bench (see panel_bench.cpp)
#include "settings_probe.h"

#include <cwchar>

#include "dialogs.h"

namespace lt::probe {

namespace {

constexpr int PortList = 620;

// Everything printed here is ASCII.
int Out(HANDLE to, const std::wstring& text, int code = 0)
{
    std::string s(text.begin(), text.end());
    s += '\n';
    DWORD put = 0;
    WriteFile(to, s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
    return code;
}

bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 30000, &r) != 0;
}

int Panel(const std::wstring& name, const std::vector<std::wstring>& args)
{
    HWND controller = FindWindowW(nullptr, L"Controller");
    HWND panel = controller ? FindWindowExW(controller, nullptr, L"LumatroveSettings", nullptr) : nullptr;
    const int n = args.empty() ? 0 : static_cast<int>(std::wcstol(args[0].c_str(), nullptr, 10));
    HWND control = panel ? GetDlgItem(panel, n) : nullptr;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (panel && name == L"panel-bench")
        return PanelBench(controller, panel, n > 0 ? n : 20);
    if (!control)
        return Out(GetStdHandle(STD_ERROR_HANDLE), L"ltprobe: no settings panel or no such control", 1);
    const WPARAM clicked = MAKEWPARAM(n, BN_CLICKED);
    if (name == L"panel-get" && n == PortList)
        return Out(out, std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0)) + L" " +
                            std::to_wstring(SendMessageW(control, CB_GETCOUNT, 0, 0)));
    if (name == L"panel-get")
        return Out(out, ControlText(control));
    if (name == L"panel-set" && args.size() == 2 && n == PortList)
        return Send(control, CB_SETCURSEL, std::wcstol(args[1].c_str(), nullptr, 10), 0) ? 0 : 1;
    if (name == L"panel-set" && args.size() == 2)
        return Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1].c_str())) ? 0 : 1;
    if (name == L"panel-post")
        return PostMessageW(panel, WM_COMMAND, clicked, reinterpret_cast<LPARAM>(control)) ? 0 : 1;
    const DWORD start = GetTickCount();
    if (name != L"panel-click" || !Send(panel, WM_COMMAND, clicked, reinterpret_cast<LPARAM>(control)))
        return 2;
    return Out(out, std::to_wstring(GetTickCount() - start));
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
