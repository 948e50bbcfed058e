// The movie window, read and worked from outside:
//   movie [ms]        wait for it; print what it shows: handle, title,
//                     playing (the play/stop item reads "停止"), speed shown,
//                     position bar value and whether it is enabled, outer
//                     size, video window size
//   movie-menu ITEM   choose play, seek or speed N (preset 0-4)
//   movie-pos V       release the position bar's thumb at V
#include "movie.h"

#include <windows.h>

#include <cstdio>

#include "dialogs.h"

namespace lt::probe {

namespace {

// The window's menu commands.
constexpr int IdPlayStop = 501, IdSeek = 502, IdSpeedPreset = 510;

struct Parts {
    HWND sclPos = nullptr; // the lowest scroll bar
    HWND picAvi = nullptr;
};

BOOL CALLBACK TakePart(HWND w, LPARAM param)
{
    auto* p = reinterpret_cast<Parts*>(param);
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    RECT r{}, old{};
    GetWindowRect(w, &r);
    if (lstrcmpiW(cls, L"LtPicAvi") == 0)
        p->picAvi = w;
    else if (lstrcmpiW(cls, L"ScrollBar") == 0 && (!p->sclPos || (GetWindowRect(p->sclPos, &old), r.top > old.top)))
        p->sclPos = w;
    return TRUE;
}

void Show(HWND movie, const Parts& p)
{
    // Asked first: the answer comes when the program is between messages,
    // so what is read after it belongs to one moment.
    DWORD_PTR pos = 0;
    SendMessageTimeoutW(p.sclPos, SBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &pos);
    wchar_t title[256] = {};
    GetWindowTextW(movie, title, 256);
    char utf8[768] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    RECT outer{}, video{};
    GetWindowRect(movie, &outer);
    if (HWND v = GetWindow(p.picAvi, GW_CHILD))
        GetWindowRect(v, &video);
    auto prop = [&](const wchar_t* name) { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(movie, name))); };
    char line[1024];
    int n =
        std::snprintf(line, sizeof line,
                      "hwnd=%p\ttitle=%s\tplaying=%d\tspeed=%d\tpos=%d\tposEnabled=%d\touter=%ldx%ld\tvideo=%ldx%ld\n",
                      static_cast<void*>(movie), utf8, prop(L"LtMoviePlaying"), prop(L"LtMovieSpeedShown"),
                      static_cast<int>(pos), IsWindowEnabled(p.sclPos) ? 1 : 0, outer.right - outer.left,
                      outer.bottom - outer.top, video.right - video.left, video.bottom - video.top);
    DWORD put = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(n), &put, nullptr);
}

} // namespace

bool RunMovieCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode)
{
    if (name != L"movie" && name != L"movie-menu" && name != L"movie-pos")
        return false;
    const DWORD wait = name == L"movie" && !args.empty() ? static_cast<DWORD>(_wtol(args[0].c_str())) : 3000;
    HWND movie = nullptr;
    Parts p;
    exitCode = 0;
    if (!WaitUntil(wait, [&] { return (movie = FindWindowW(L"LtViewAvi", nullptr)) != nullptr; }) ||
        (EnumChildWindows(movie, TakePart, reinterpret_cast<LPARAM>(&p)), !p.sclPos || !p.picAvi)) {
        std::fputs("ltprobe: no movie window\n", stderr);
        exitCode = 1;
    } else if (name == L"movie") {
        Show(movie, p);
    } else if (name == L"movie-pos" && args.size() == 1) {
        PostMessageW(movie, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, _wtoi(args[0].c_str())),
                     reinterpret_cast<LPARAM>(p.sclPos));
    } else if (name == L"movie-menu" && !args.empty()) {
        // Posted, as a menu choice arrives.
        const int id = args[0] == L"play"   ? IdPlayStop
                       : args[0] == L"seek" ? IdSeek
                       : args.size() == 2   ? IdSpeedPreset + _wtoi(args[1].c_str())
                                            : 0;
        exitCode = id ? 0 : 2;
        if (id)
            PostMessageW(movie, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    } else {
        exitCode = 2;
    }
    return true;
}

} // namespace lt::probe
