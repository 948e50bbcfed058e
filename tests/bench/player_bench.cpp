// Figures of the music player under the real platform, each printed beside
// its limit timed in the same run. Prints, never judges.
//   lt_player_bench.exe <long.mp3> [seconds of playback]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/path_rules.h"
#include "core/win_handles.h"
#include "music/mp3_library.h"
#include "music/music_engine.h"
#include "music/player_window.h"

namespace {

using namespace lt;

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

double CpuSeconds()
{
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    auto s = [](FILETIME t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return s(k) + s(u);
}

// Runs the message loop, idle between messages, for the given time.
void Run(double seconds)
{
    const double end = Now() + seconds;
    for (double left; (left = end - Now()) > 0;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left * 1000) + 1, QS_ALLINPUT);
        PumpMessages();
    }
}

// Share of one core the process used while the loop ran.
double CpuWhileRunning(double seconds)
{
    const double cpu0 = CpuSeconds(), wall0 = Now();
    Run(seconds);
    return (CpuSeconds() - cpu0) / (Now() - wall0);
}

void Row(const char* what, double ours, const char* unit, double limit, const char* limitWhat)
{
    std::printf("%-36s %9.3f %-3s | limit %9.3f %-3s (%s) | ratio %.2f\n", what, ours, unit, limit, unit, limitWhat,
                limit > 0 ? ours / limit : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: lt_player_bench <long.mp3> [seconds]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20;
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string dir = lt::FolderPrefix(exe);
    if (!Mp3().Load({dir + "ltmp3.dll"}) || !Mp3().Init()) {
        std::fprintf(stderr, "cannot load the MP3 library\n");
        return 1;
    }

    // The engine alone first (which also sets up the platform's sound
    // output, so that neither side pays for that).
    PlaybackEngine& engine = MusicEngine();
    SetPlayerHooks(nullptr);
    engine.Open(BackEnd::Mp3, argv[1]);
    engine.PlayMusic();
    const double engineCpu = CpuWhileRunning(seconds);
    engine.CloseMusic();

    SetPlayerHooks(&Player());
    Player().OpenMusicFile(argv[1], FileKind::Mp3);
    const double playerCpu = CpuWhileRunning(seconds);

    // A frame against one copy of the whole surface to the window.
    constexpr int Frames = 300;
    HWND hwnd = Player().Hwnd();
    double t0 = Now();
    for (int i = 0; i < Frames; ++i)
        Player().DrawPlayer();
    const double frame = (Now() - t0) / Frames;
    HDC window = GetDC(hwnd);
    MemoryDc memory(CreateCompatibleDC(window));
    GdiObject bitmap(CreateCompatibleBitmap(window, 307, 123));
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    t0 = Now();
    for (int i = 0; i < Frames; ++i)
        BitBlt(window, 0, 0, 307, 123, memory.get(), 0, 0, SRCCOPY);
    GdiFlush();
    const double blit = (Now() - t0) / Frames;
    SelectObject(memory.get(), old);
    ReleaseDC(hwnd, window);
    const bool playing = engine.GetMusicState() == 1;
    Player().Unload();

    Row("DrawPlayer frame (ms)", frame * 1000, "ms", blit * 1000 * 4, "4 x one BitBlt of 307 x 123");
    Row("DrawPlayer frame (ms)", frame * 1000, "ms", 3, "fixed");
    Row("playback CPU with the player, %", playerCpu * 100, "%", engineCpu * 130, "1.3 x the engine alone");
    std::printf("(one BitBlt %.3f ms; engine alone %.2f %% of a core; still playing at the end: %s)\n", blit * 1000,
                engineCpu * 100, playing ? "yes" : "no");
    Mp3().Close();
    Mp3().Free();
    return 0;
}
