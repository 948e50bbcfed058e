// panel-bench N: mean milliseconds of N openings by the Option button and N
// presets, each beside the bare calls doing the same for the window system.
#include <cstdio>

#include <windows.h>

namespace lt::probe {

namespace {

constexpr int FirstBox = 610, Preset = 636;

double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void Send(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 30000, &r);
}

} // namespace

int PanelBench(int rounds)
{
    HWND controller = FindWindowW(nullptr, L"Controller");
    HWND panel = controller ? FindWindowExW(controller, nullptr, L"LumatroveSettings", nullptr) : nullptr;
    if (!panel)
        return 1;
    const LPARAM option = MAKELPARAM(267, 10);
    auto toggle = [&] {
        Send(controller, WM_LBUTTONDOWN, MK_LBUTTON, option), Send(controller, WM_LBUTTONUP, 0, option);
    };
    double ms[4] = {};
    for (int i = 0; i < rounds; ++i) {
        if (IsWindowVisible(panel))
            toggle();
        double t = Now();
        toggle();
        ms[0] += Now() - t;
        ShowWindow(panel, SW_HIDE);
        t = Now();
        ShowWindow(panel, SW_SHOWNA);
        ms[1] += Now() - t;
        t = Now();
        Send(panel, WM_COMMAND, MAKEWPARAM(Preset, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, Preset)));
        ms[2] += Now() - t;
        t = Now();
        for (int id = FirstBox; id < FirstBox + 6; ++id)
            Send(GetDlgItem(panel, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1024"));
        ms[3] += Now() - t;
    }
    char out[160];
    const int n = std::snprintf(out, sizeof out, "open %.3f\nopen-bare %.3f\npreset %.3f\npreset-bare %.3f\n",
                                ms[0] / rounds, ms[1] / rounds, ms[2] / rounds, ms[3] / rounds);
    DWORD put = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out, static_cast<DWORD>(n), &put, nullptr);
    return IsWindowVisible(panel) ? 0 : 1;
}

} // namespace lt::probe
