// The movie window seen and worked from outside:
//   movie [ms]            wait for the movie window; print one line of what
//                         it shows: title, playing (the play/stop item reads
//                         "停止"), speed shown, position bar value, bar
//                         enabled, outer size, video window size
//   movie-menu ITEM       choose a menu item: play, seek or speed N (0-4)
//   movie-pos V           release the position bar's thumb at V
//   movie-wait KEY=V [ms] wait until the line's field KEY reads V; print the
//                         line and the milliseconds waited
//   movie-close           close the movie window
#include "movie.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "wait.h"

namespace lt::probe {

namespace {

constexpr const wchar_t* MovieClass = L"LtViewAvi";
// The window's menu commands.
constexpr int IdPlayStop = 501, IdSeek = 502, IdSpeedPreset = 510;

void Print(const std::string& s)
{
    DWORD put = 0;
    std::string line = s + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
}

std::string Utf8(const wchar_t* w)
{
    char out[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, w, -1, out, sizeof out - 1, nullptr, nullptr);
    return out;
}

HWND FindMovie()
{
    return FindWindowW(MovieClass, nullptr);
}

struct Parts {
    HWND sclPos = nullptr;
    HWND picAvi = nullptr;
};

BOOL CALLBACK TakePart(HWND w, LPARAM param)
{
    auto* p = reinterpret_cast<Parts*>(param);
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    RECT r{};
    GetWindowRect(w, &r);
    if (lstrcmpiW(cls, L"LtPicAvi") == 0) {
        p->picAvi = w;
    } else if (lstrcmpiW(cls, L"ScrollBar") == 0) {
        // The lower of the two bars is the position bar.
        RECT old{};
        if (!p->sclPos || (GetWindowRect(p->sclPos, &old), r.top > old.top))
            p->sclPos = w;
    }
    return TRUE;
}

Parts FindParts(HWND movie)
{
    Parts p;
    EnumChildWindows(movie, TakePart, reinterpret_cast<LPARAM>(&p));
    return p;
}

std::string State(HWND movie)
{
    Parts p = FindParts(movie);
    // Asked first: the answer comes when the program is between messages, so
    // everything read after it belongs to one moment.
    DWORD_PTR pos = 0;
    if (p.sclPos)
        SendMessageTimeoutW(p.sclPos, SBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &pos);
    wchar_t title[256] = {};
    GetWindowTextW(movie, title, 256);
    RECT outer{}, video{};
    GetWindowRect(movie, &outer);
    HWND v = p.picAvi ? GetWindow(p.picAvi, GW_CHILD) : nullptr;
    if (v)
        GetWindowRect(v, &video);
    char line[512];
    std::snprintf(line, sizeof line, "playing=%d\tspeed=%d\tpos=%d\tposEnabled=%d\touter=%ldx%ld\tvideo=%ldx%ld",
                  static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(movie, L"LtMoviePlaying"))),
                  static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(movie, L"LtMovieSpeedShown"))),
                  static_cast<int>(pos), p.sclPos && IsWindowEnabled(p.sclPos) ? 1 : 0, outer.right - outer.left,
                  outer.bottom - outer.top, video.right - video.left, video.bottom - video.top);
    char hwnd[32];
    std::snprintf(hwnd, sizeof hwnd, "hwnd=0x%08lX\t", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(movie)));
    return hwnd + ("title=" + Utf8(title) + "\t") + line;
}

DWORD Ms(const std::vector<std::wstring>& args, size_t i, DWORD fallback)
{
    return i < args.size() ? static_cast<DWORD>(_wtol(args[i].c_str())) : fallback;
}

int Wait(HWND& movie, DWORD ms)
{
    if (WaitUntil(ms, [&] { return (movie = FindMovie()) != nullptr; }))
        return 0;
    std::fputs("ltprobe: no movie window\n", stderr);
    return 1;
}

int Menu(HWND movie, const std::vector<std::wstring>& args)
{
    int id = 0;
    if (args.size() == 1 && args[0] == L"play")
        id = IdPlayStop;
    else if (args.size() == 1 && args[0] == L"seek")
        id = IdSeek;
    else if (args.size() == 2 && args[0] == L"speed")
        id = IdSpeedPreset + _wtoi(args[1].c_str());
    else
        return 2;
    // Posted, as a menu choice arrives; an error box may come up.
    PostMessageW(movie, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return 0;
}

int Pos(HWND movie, const std::vector<std::wstring>& args)
{
    Parts p = FindParts(movie);
    if (args.size() != 1 || !p.sclPos)
        return 2;
    PostMessageW(movie, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, _wtoi(args[0].c_str())),
                 reinterpret_cast<LPARAM>(p.sclPos));
    return 0;
}

int WaitField(HWND movie, const std::vector<std::wstring>& args)
{
    if (args.empty())
        return 2;
    const std::string want = "\t" + Utf8(args[0].c_str()) + "\t";
    DWORD start = GetTickCount();
    std::string line;
    bool ok = WaitUntil(Ms(args, 1, 10000), [&] {
        HWND m = FindMovie();
        line = m ? State(m) : std::string();
        return m == movie && ("\t" + line + "\t").find(want) != std::string::npos;
    });
    Print(line + "\tms=" + std::to_string(GetTickCount() - start));
    return ok ? 0 : 1;
}

} // namespace

bool RunMovieCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode)
{
    if (name != L"movie" && name.rfind(L"movie-", 0) != 0)
        return false;
    HWND movie = nullptr;
    exitCode = Wait(movie, name == L"movie" ? Ms(args, 0, 10000) : 3000);
    if (exitCode != 0)
        return true;
    if (name == L"movie")
        Print(State(movie));
    else if (name == L"movie-menu")
        exitCode = Menu(movie, args);
    else if (name == L"movie-pos")
        exitCode = Pos(movie, args);
    else if (name == L"movie-wait")
        exitCode = WaitField(movie, args);
    else if (name == L"movie-close")
        PostMessageW(movie, WM_CLOSE, 0, 0);
    else
        exitCode = 2;
    return true;
}

} // namespace lt::probe
