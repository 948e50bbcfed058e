// Drives the playback engine and the MP3 library on the real platform from
// a script of commands on the command line, printing what they answer, one
// line per command. The music integration tests run it under Wine.
//   lt_music_drive open mp3 C:\a.mp3 play wait 2000 state pause ...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/settings_store.h"
#include "core/win_handles.h"
#include "music/midi_ports.h"
#include "music/mp3_library.h"
#include "music/music_engine.h"

namespace {

using namespace lt;

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Sleeps while letting window messages run, as the program's timers would.
void Wait(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        PumpMessages();
        Sleep(10);
    }
}

BackEnd BackEndOf(const std::string& name)
{
    return name == "wav"    ? BackEnd::Wave
           : name == "midi" ? BackEnd::Midi
           : name == "mp3"  ? BackEnd::Mp3
                            : BackEnd::None;
}

template <std::size_t N> void Put(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

} // namespace

int main(int argc, char** argv)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.resize(dir.find_last_of('\\') + 1);
    if (!Mp3().Load({dir + "ltmp3.dll"}) || !Mp3().Init()) {
        Say("error no-library");
        return 2;
    }
    EnumMidiDevices();
    PlaybackEngine& e = MusicEngine();
    std::vector<std::string> args(argv + 1, argv + argc);
    auto next = [&](std::size_t& i) { return ++i < args.size() ? args[i] : std::string(); };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& c = args[i];
        if (c == "open") {
            const BackEnd b = BackEndOf(next(i));
            const std::string path = next(i);
            Say("open " + std::to_string(e.Open(b, path) ? 1 : 0));
        } else if (c == "play") {
            Say("play " + std::to_string(e.PlayMusic() ? 1 : 0));
        } else if (c == "stop") {
            e.StopMusic();
            Say("stop");
        } else if (c == "pause") {
            e.PauseMusic();
            Say("pause");
        } else if (c == "close") {
            e.CloseMusic();
            Say("close open=" + std::to_string(e.IsOpen() ? 1 : 0));
        } else if (c == "seek") {
            const std::string to = next(i);
            const DWORD t0 = GetTickCount();
            e.SeekMusic(to);
            Say("seek " + to + " ms=" + std::to_string(GetTickCount() - t0));
        } else if (c == "state") {
            Say("state " + std::to_string(e.GetMusicState()) + " pos " + std::to_string(e.GetMusicPosition()) +
                " len " + std::to_string(e.GetMusicLength()));
        } else if (c == "wait") {
            Wait(static_cast<DWORD>(std::atoi(next(i).c_str())));
        } else if (c == "volume") {
            e.SetMusicVolume(std::atoi(next(i).c_str()));
            Say("volume " + std::to_string(AppSettings().Volume));
        } else if (c == "title") {
            Say("title " + e.GetMusicTitle(next(i)));
        } else if (c == "tempo") {
            Say("tempo " + std::to_string(e.GetMidiTempo()) + " file " + std::to_string(e.FileTempo()));
        } else if (c == "settempo") {
            e.SetMidiTempo(static_cast<std::int16_t>(std::atoi(next(i).c_str())));
            Say("settempo");
        } else if (c == "wavestatus") {
            Say("wavestatus " + std::to_string(e.GetWaveStatus("bitspersample")) + " " +
                std::to_string(e.GetWaveStatus("channels")) + " " + std::to_string(e.GetWaveStatus("samplespersec")));
        } else if (c == "mci") {
            // A raw command string, without mciExecute's message box.
            char answer[1024] = {};
            const MCIERROR code = mciSendStringA(next(i).c_str(), answer, sizeof answer, nullptr);
            char error[256] = {};
            if (code)
                mciGetErrorStringA(code, error, sizeof error);
            Say("mci " + std::to_string(code) + " " + answer + (code ? std::string(" / ") + error : ""));
        } else if (c == "mpeg") {
            Ltmp3MpegInfo m{};
            const int ok = Mp3().GetMpegInfo(m);
            Say("mpeg " + std::to_string(ok) + " version " + std::to_string(m.Version) + " channels " +
                std::to_string(m.Channels) + " bitrate " + std::to_string(m.BitRate) + " rate " +
                std::to_string(m.SampleRate) + " frames " + std::to_string(m.FrameCount) + " time " +
                std::to_string(m.PlayTime));
        } else if (c == "tag") {
            Ltmp3TagInfo t{};
            const int ok = Mp3().GetTagInfo(t);
            Say("tag " + std::to_string(ok) + "|" + t.Title + "|" + t.Artist + "|" + t.Album + "|" + t.Year + "|" +
                t.Comment + "|" + std::to_string(t.Genre));
        } else if (c == "settag") {
            Ltmp3TagInfo t{};
            Put(t.Title, next(i));
            Put(t.Artist, next(i));
            Put(t.Album, next(i));
            Put(t.Year, next(i));
            Put(t.Comment, next(i));
            t.Genre = std::atoi(next(i).c_str());
            Say("settag " + std::to_string(Mp3().SetTagInfo(t)));
        } else if (c == "mp3open") {
            // The library alone: what ltmp3_open answers and how long it takes.
            Ltmp3InputInfo info{};
            const std::string path = next(i);
            LARGE_INTEGER f, t0, t1;
            QueryPerformanceFrequency(&f);
            QueryPerformanceCounter(&t0);
            const int ok = Mp3().Open(path, info);
            QueryPerformanceCounter(&t1);
            Say("mp3open " + std::to_string(ok) +
                " us=" + std::to_string((t1.QuadPart - t0.QuadPart) * 1000000 / f.QuadPart) + " time " +
                std::to_string(info.PlayTime) + " bitrate " + std::to_string(info.BitRate));
        } else {
            Say("error unknown " + c);
        }
    }
    e.CloseMusic();
    Mp3().Close();
    Mp3().Free();
    Say("end");
    return 0;
}
