// Movie timings under Wine, each beside the bare MCI doing the same work:
//   lt_movie_bench bare FILE SECONDS   open and play FILE in MCI's own window;
//                                      time to its first frame on the screen,
//                                      then SECONDS of playback
//   lt_movie_bench bare_child FILE 0   the same into a window made beforehand
//   lt_movie_bench ours FILE SECONDS   drop FILE on the running program's
//                                      list, no movie open; time to the first
//                                      frame in its movie window, SECONDS of
//                                      playback, and how late the end is
//                                      noticed
// FILE shows red in the middle, then shades of blue in its last second (see
// tests/integration/movie_bench.py). Prints "key=value" lines, and "X_start"
// and "X_end" around the spans whose CPU the caller measures. With SECONDS 0
// only the first frame is timed.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../integration/probe/drop.h"

namespace {

constexpr DWORD FrameMs = 100; // 10 frames a second

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

// The colour on the screen at the middle of a window.
COLORREF Middle(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return c;
}

bool IsRed(COLORREF c)
{
    return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60;
}
bool IsBlue(COLORREF c)
{
    return GetBValue(c) > 100 && GetRValue(c) < 60 && GetGValue(c) < 60;
}

template <typename Pred> bool PollFor(DWORD ms, Pred ok)
{
    double end = Now() + ms;
    while (Now() < end) {
        Pump();
        if (ok())
            return true;
        Sleep(1);
    }
    return false;
}

// Lets playback run for ms, pumping our messages, between two marks on which
// the caller reads the processes' CPU times.
void PlayFor(const char* what, DWORD ms)
{
    std::printf("%s_start\n", what);
    std::fflush(stdout);
    double end = Now() + ms;
    while (Now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    std::printf("%s_end\n", what);
    std::fflush(stdout);
}

// The platform's plain open and play: MCI makes and shows its own window for
// the movie, as ours makes one. With `intoOwnWindow` the movie goes into a
// window made before the clock starts instead (printed for comparison).
int Bare(const std::string& file, DWORD seconds, bool intoOwnWindow)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "LtBareMovie";
    RegisterClassA(&wc);
    HWND top = CreateWindowA("LtBareMovie", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 660, 540, nullptr,
                             nullptr, wc.hInstance, nullptr);
    HWND pic = CreateWindowA("LtBareMovie", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, top, nullptr,
                             wc.hInstance, nullptr);
    Pump();
    Middle(pic); // the first look at the screen costs more than the rest
    if (!intoOwnWindow)
        DestroyWindow(top);
    const char* key = intoOwnWindow ? "bare_child" : "bare";
    const double t0 = Now();
    std::string open = "open " + file + " alias B";
    if (intoOwnWindow)
        open += " nostatic parent " + std::to_string(reinterpret_cast<UINT_PTR>(pic)) + " style Child";
    char handle[32] = {};
    if (mciSendStringA(open.c_str(), nullptr, 0, nullptr) ||
        (!intoOwnWindow && mciSendStringA("status B window handle", handle, sizeof handle, nullptr)) ||
        mciSendStringA("play B", nullptr, 0, nullptr)) {
        std::fprintf(stderr, "bare: cannot open or play %s\n", file.c_str());
        return 1;
    }
    HWND shownIn = intoOwnWindow ? pic : reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(handle, nullptr, 10)));
    bool shown = PollFor(10000, [&] { return IsRed(Middle(shownIn)); });
    std::printf("%s_first_frame_ms=%.0f\n", key, shown ? Now() - t0 : -1.0);
    if (seconds > 0)
        PlayFor("bare_cpu", seconds * 1000);
    mciSendStringA("close B", nullptr, 0, nullptr);
    if (intoOwnWindow)
        DestroyWindow(top);
    return shown ? 0 : 1;
}

HWND FindChildOfClass(HWND parent, const char* cls)
{
    return FindWindowExA(parent, nullptr, cls, nullptr);
}

// A drop made from a thread of its own, started beforehand and waiting for
// go, so that the screen is watched while the program handles it: the frame
// counts from when it shows, whatever the program still does after it.
struct Drop {
    HWND list = nullptr;
    std::wstring path;
    HANDLE go = nullptr;
    std::string error;
    bool ok = false;
    double handled = 0;
};

DWORD WINAPI SendDrop(void* param)
{
    auto* d = static_cast<Drop*>(param);
    WaitForSingleObject(d->go, INFINITE);
    d->ok = lt::probe::DropFiles(d->list, {d->path}, d->error);
    d->handled = Now();
    return 0;
}

int Ours(const std::string& file, DWORD seconds)
{
    HWND controller = FindWindowA(nullptr, "Controller");
    HWND list = controller ? FindChildOfClass(controller, "ListBox") : nullptr;
    if (!list) {
        std::fprintf(stderr, "ours: no controller\n");
        return 1;
    }
    int wide = MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, nullptr, 0);
    std::wstring path(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, path.data(), wide);
    path.resize(wcslen(path.c_str()));

    // Nothing open, as for the bare open: a movie still playing from an
    // earlier round would be stopped and closed first, and its frame taken
    // for the new one.
    if (HWND earlier = FindWindowA("LtViewAvi", nullptr)) {
        PostMessageA(earlier, WM_CLOSE, 0, 0);
        PollFor(10000, [&] { return !IsWindow(earlier); });
    }
    // The controller's own share, before any movie.
    if (seconds > 0)
        PlayFor("ours_idle_cpu", seconds * 1000);
    HWND movie = nullptr, video = nullptr;
    Drop drop;
    drop.list = list;
    drop.path = path;
    drop.go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE sender = drop.go ? CreateThread(nullptr, 0, &SendDrop, &drop, 0, nullptr) : nullptr;
    if (!sender) {
        std::fprintf(stderr, "ours: cannot start the drop\n");
        return 1;
    }
    Middle(controller); // as for the bare open
    const double t0 = Now();
    SetEvent(drop.go);
    bool shown = PollFor(10000, [&] {
        if (!video) {
            movie = FindWindowA("LtViewAvi", nullptr);
            HWND pic = movie ? FindChildOfClass(movie, "LtPicAvi") : nullptr;
            video = pic ? GetWindow(pic, GW_CHILD) : nullptr;
        }
        return video && IsRed(Middle(video));
    });
    const double first = Now() - t0;
    WaitForSingleObject(sender, INFINITE);
    CloseHandle(sender);
    CloseHandle(drop.go);
    if (!drop.ok) {
        std::fprintf(stderr, "ours: %s\n", drop.error.c_str());
        return 1;
    }
    std::printf("ours_drop_handled_ms=%.0f\n", drop.handled - t0);
    std::printf("ours_first_frame_ms=%.0f\n", shown ? first : -1.0);
    if (!shown)
        return 1;

    if (seconds == 0)
        return 0;
    PlayFor("ours_cpu", seconds * 1000);

    // The last frames are shades of blue, one per frame; the movie ends one
    // frame after the last change.
    double changed = 0;
    COLORREF last = 0;
    bool ended = PollFor(30000, [&] {
        COLORREF c = Middle(video);
        if (IsBlue(c) && c != last) {
            changed = Now();
            last = c;
        }
        return changed != 0 && GetPropA(movie, "LtMoviePlaying") == nullptr;
    });
    std::printf("ours_end_noticed_ms=%.0f\n", ended ? Now() - changed - FrameMs : -1.0);
    return ended ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string mode = argv[1];
    const DWORD seconds = static_cast<DWORD>(std::atoi(argv[3]));
    if (mode == "bare" || mode == "bare_child")
        return Bare(argv[2], seconds, mode == "bare_child");
    if (mode == "ours")
        return Ours(argv[2], seconds);
    return 2;
}
