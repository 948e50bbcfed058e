// Figures of the MP3 library under the real platform, each printed beside
// its limit timed in the same run. Prints, never judges.
//   lt_music_bench.exe <long.mp3> <big.mp3> <same-audio.wav> [seconds of playback]
#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ltmp3/acm_decoder.h"
#include "ltmp3/mpeg_frames.h"
#include "music/mp3_library.h"

namespace {

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

std::vector<std::uint8_t> ReadAll(const char* path)
{
    std::vector<std::uint8_t> bytes;
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size{};
    GetFileSizeEx(f, &size);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    CloseHandle(f);
    return bytes;
}

double CpuSeconds()
{
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    auto s = [](FILETIME t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return s(k) + s(u);
}

// Committed private memory, summed over the address space (the process
// counters read 0 under Wine).
double PrivateMb()
{
    double bytes = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (const char* at = nullptr; VirtualQuery(at, &m, sizeof m) == sizeof m;) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE)
            bytes += double(m.RegionSize);
        const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return bytes / (1024.0 * 1024.0);
}

void Row(const char* what, double ours, const char* unit, double limit, const char* limitWhat)
{
    std::printf("%-34s %10.2f %-4s | limit %10.2f %-4s (%s) | ratio %.2f\n", what, ours, unit, limit, unit, limitWhat,
                limit > 0 ? ours / limit : 0.0);
}

// The whole file through one bare ACM conversion.
double BareAcmSeconds(const std::vector<std::uint8_t>& file, const ltmp3::StreamInfo& info)
{
    const auto& h = info.First;
    MPEGLAYER3WAVEFORMAT mp3{};
    mp3.wfx = {WAVE_FORMAT_MPEGLAYER3,    WORD(h.Channels()), DWORD(h.SampleRate), DWORD(h.BitRate * 125), 1, 0,
               MPEGLAYER3_WFX_EXTRA_BYTES};
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    mp3.nBlockSize = WORD(h.FrameBytes());
    mp3.nFramesPerBlock = 1;
    WAVEFORMATEX pcm{WAVE_FORMAT_PCM,
                     WORD(h.Channels()),
                     DWORD(h.SampleRate),
                     DWORD(h.SampleRate * h.Channels() * 2),
                     WORD(h.Channels() * 2),
                     16,
                     0};
    HACMSTREAM s = nullptr;
    if (acmStreamOpen(&s, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME))
        return -1;
    std::vector<std::uint8_t> src(file.begin() + info.Offsets.front(), file.end());
    std::vector<std::uint8_t> dst(info.Samples() * pcm.nBlockAlign + 1024 * 1024);
    ACMSTREAMHEADER hd{};
    hd.cbStruct = sizeof hd;
    hd.pbSrc = src.data();
    hd.cbSrcLength = DWORD(src.size());
    hd.pbDst = dst.data();
    hd.cbDstLength = DWORD(dst.size());
    acmStreamPrepareHeader(s, &hd, 0);
    const double t0 = Now();
    acmStreamConvert(s, &hd, ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END);
    const double t = Now() - t0;
    acmStreamUnprepareHeader(s, &hd, 0);
    acmStreamClose(s, 0);
    return t;
}

double OurDecodeSeconds(const std::vector<std::uint8_t>& file, const ltmp3::StreamInfo& info)
{
    ltmp3::AcmDecoder d;
    if (!d.Open(info.First))
        return -1;
    std::vector<std::uint8_t> pcm;
    pcm.reserve(256 * 1024);
    const double t0 = Now();
    for (std::size_t i = 0; i < info.Offsets.size(); i += 12) {
        pcm.clear(); // as the player: one output buffer at a time
        ltmp3::DecodeFrames(d, file, info, i, std::min(info.Offsets.size(), i + 12), pcm);
    }
    return Now() - t0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::puts("usage: lt_music_bench long.mp3 big.mp3 same.wav [seconds]");
        return 2;
    }
    const int playSeconds = argc > 4 ? std::atoi(argv[4]) : 20;
    const double privateBefore = PrivateMb();

    // Decoding speed.
    const auto longFile = ReadAll(argv[1]);
    const auto info = ltmp3::ScanFrames(longFile);
    if (!info) {
        std::puts("no frames in the long file");
        return 1;
    }
    const double audio = double(info->Samples()) / info->First.SampleRate;
    double bare = 1e9, ours = 1e9;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, BareAcmSeconds(longFile, *info));
        ours = std::min(ours, OurDecodeSeconds(longFile, *info));
    }
    Row("decode: x real time", audio / ours, "x", audio / bare, "bare ACM, whole file");

    // Opening a big file, frame scan included, against reading it once.
    char dir[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, dir, MAX_PATH);
    std::string lib(dir);
    lib.resize(lib.find_last_of('\\') + 1);
    lt::Mp3Library& mp3 = lt::Mp3();
    if (!mp3.Load({lib + "ltmp3.dll"}) || !mp3.Init()) {
        std::puts("no library");
        return 1;
    }
    Ltmp3InputInfo in{};
    double open = 1e9, read = 1e9;
    for (int round = 0; round < 5; ++round) {
        double t0 = Now();
        const auto bytes = ReadAll(argv[2]);
        read = std::min(read, Now() - t0);
        t0 = Now();
        mp3.Open(argv[2], in);
        open = std::min(open, Now() - t0);
        mp3.Close();
    }
    Row("open big MP3 (ms)", open * 1000, "ms", read * 1000, "reading it once");
    std::printf("(big MP3: %d s at %d kbit/s)\n", in.PlayTime, in.BitRate);

    // Playback cost and footprint: the same audio as WAV through MCI first
    // (which also sets up the platform's sound output, so that neither side
    // pays for that), then the MP3 through the library.
    const std::string open_wav = std::string("open \"") + argv[3] + "\" alias BENCH type waveaudio";
    double wavCpu = -1, wavPrivate = 0;
    if (mciSendStringA(open_wav.c_str(), nullptr, 0, nullptr) == 0) {
        const double before = PrivateMb();
        const double cpu0 = CpuSeconds(), wall0 = Now();
        mciSendStringA("play BENCH", nullptr, 0, nullptr);
        Sleep(2000);
        wavPrivate = PrivateMb() - before;
        Sleep(DWORD(playSeconds * 1000 - 2000));
        wavCpu = (CpuSeconds() - cpu0) / (Now() - wall0);
        mciSendStringA("close BENCH", nullptr, 0, nullptr);
    }

    const double beforePlay = PrivateMb();
    mp3.Open(argv[1], in);
    const double cpu0 = CpuSeconds(), wall0 = Now();
    mp3.Play();
    Sleep(2000);
    const double whilePlaying = PrivateMb();
    double seek = 0;
    for (int i = 0; i < 5; ++i) {
        const double t0 = Now();
        mp3.Seek(10 + i * 5);
        seek = std::max(seek, Now() - t0);
        Sleep(200);
    }
    Sleep(DWORD(playSeconds * 1000 - 3000));
    const double mp3Cpu = (CpuSeconds() - cpu0) / (Now() - wall0);
    std::int32_t pos = 0;
    const int state = mp3.GetState(pos);
    mp3.Stop();
    // Once more: the platform's decoder and output are set up by now, so
    // this is what the library itself holds while it plays.
    const double beforeSecond = PrivateMb();
    mp3.Play();
    Sleep(1500);
    const double secondPlay = PrivateMb() - beforeSecond;
    mp3.Stop();
    mp3.Close();

    // The bare platform calls the library makes to play: an ACM stream and
    // a wave-out device with one buffer queued.
    double barePrivate = 0;
    {
        const double before = PrivateMb();
        ltmp3::AcmDecoder d;
        HWAVEOUT w = nullptr;
        WAVEFORMATEX pcm{};
        if (d.Open(info->First)) {
            pcm = d.Pcm();
            std::vector<char> silence(64 * 1024, 0);
            WAVEHDR h{};
            h.lpData = silence.data();
            h.dwBufferLength = DWORD(silence.size());
            if (waveOutOpen(&w, WAVE_MAPPER, &pcm, 0, 0, CALLBACK_NULL) == 0) {
                waveOutPrepareHeader(w, &h, sizeof h);
                waveOutWrite(w, &h, sizeof h);
                Sleep(1500);
                barePrivate = PrivateMb() - before;
                waveOutReset(w);
                waveOutUnprepareHeader(w, &h, sizeof h);
                waveOutClose(w);
            }
        }
    }

    Row("seek while playing (ms, worst of 5)", seek * 1000, "ms", 100, "fixed");
    Row("playback CPU, % of one core", mp3Cpu * 100, "%", wavCpu * 100, "same audio as WAV via MCI");
    Row("playback CPU, % of one core", mp3Cpu * 100, "%", 2, "fixed");
    Row("private memory added playing (MB)", whilePlaying - beforePlay, "MB", wavPrivate, "WAV via MCI");
    Row("same, second play (MB)", secondPlay, "MB", barePrivate, "bare ACM stream + waveOut");
    Row("same, second play (MB)", secondPlay, "MB", 1, "fixed");
    std::printf("(still playing at the end: state %d at %d s; private memory at start %.1f MB)\n", state, pos,
                privateBefore);
    mp3.Free();
    return 0;
}
