// Figures of the MP3 library under the real platform, each printed beside
// its limit timed in the same run. Prints, never judges.
//   lt_music_bench.exe <long.mp3> <big.mp3> <same-audio.wav> [seconds of playback]
#include <windows.h>

#include <mmreg.h>
#include <msacm.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/path_rules.h"
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

double Seconds(FILETIME k, FILETIME u)
{
    auto s = [](FILETIME t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return s(k) + s(u);
}

double CpuSeconds()
{
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    return Seconds(k, u);
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

int ThreadCount()
{
    int n = 0;
    HANDLE s = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Thread32First(s, &e); ok; ok = Thread32Next(s, &e))
        n += e.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(s);
    return n;
}

double ThreadCpuSeconds(HANDLE thread)
{
    FILETIME c, e, k, u;
    return GetThreadTimes(thread, &c, &e, &k, &u) ? Seconds(k, u) : 0;
}

// CPU time of the threads of this process that started in the given module:
// the library's own work, apart from the platform's sound threads.
double ModuleThreadsCpu(HMODULE module)
{
    using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    const auto* base = reinterpret_cast<const char*>(module);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(module)->e_lfanew);
    double cpu = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Thread32First(snap, &e); ok && query; ok = Thread32Next(snap, &e)) {
        if (e.th32OwnerProcessID != GetCurrentProcessId())
            continue;
        HANDLE t = OpenThread(THREAD_QUERY_INFORMATION, FALSE, e.th32ThreadID);
        const char* start = nullptr;
        if (t && query(t, 9 /* ThreadQuerySetWin32StartAddress */, &start, sizeof start, nullptr) == 0 &&
            start >= base && start < base + nt->OptionalHeader.SizeOfImage)
            cpu += ThreadCpuSeconds(t);
        if (t)
            CloseHandle(t);
    }
    CloseHandle(snap);
    return cpu;
}

// Waits for the threads the platform ends after a device closes, so that a
// memory figure taken next counts only what comes after it.
void Settle()
{
    for (int n = ThreadCount(), i = 0; i < 30; ++i) {
        Sleep(100);
        const int now = ThreadCount();
        if (now == n && i >= 2)
            return;
        n = now;
    }
}

// Committed private memory added by a thread that does nothing: what the
// platform charges for any thread (Wine commits a stack of 1 MB at least
// and a second one for its own side, however small the stack asked for).
DWORD WINAPI WaitFor(void* e)
{
    return WaitForSingleObject(e, INFINITE);
}

double IdleThreadMb()
{
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Settle();
    const double before = PrivateMb();
    HANDLE t = CreateThread(nullptr, 64 * 1024, WaitFor, quit, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    Sleep(100);
    const double added = PrivateMb() - before;
    SetEvent(quit);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    CloseHandle(quit);
    return added;
}

void Row(const char* what, double ours, const char* unit, double limit, const char* limitWhat)
{
    std::printf("%-34s %10.2f %-4s | limit %10.2f %-4s (%s) | ratio %.2f\n", what, ours, unit, limit, unit, limitWhat,
                limit > 0 ? ours / limit : 0.0);
}

// The stream's format for the codec, and the PCM it gives.
struct BareFormats {
    MPEGLAYER3WAVEFORMAT Mp3{};
    WAVEFORMATEX Pcm{};
};

BareFormats FormatsOf(const ltmp3::FrameHeader& h)
{
    BareFormats f;
    f.Mp3.wfx = {WAVE_FORMAT_MPEGLAYER3,    WORD(h.Channels()), DWORD(h.SampleRate), DWORD(h.BitRate * 125), 1, 0,
                 MPEGLAYER3_WFX_EXTRA_BYTES};
    f.Mp3.wID = MPEGLAYER3_ID_MPEG;
    f.Mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    f.Mp3.nBlockSize = WORD(h.FrameBytes());
    f.Mp3.nFramesPerBlock = 1;
    f.Pcm = {WAVE_FORMAT_PCM,
             WORD(h.Channels()),
             DWORD(h.SampleRate),
             DWORD(h.SampleRate * h.Channels() * 2),
             WORD(h.Channels() * 2),
             16,
             0};
    return f;
}

// The whole file through one bare ACM conversion.
double BareAcmSeconds(const std::vector<std::uint8_t>& file, const ltmp3::StreamInfo& info)
{
    auto [mp3, pcm] = FormatsOf(info.First);
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

struct Footprint {
    double Cpu = -1;      // share of one core over the whole run
    double ThreadCpu = 0; // of that, the thread doing the decoding and queueing
    double Private = 0;   // MB added 1.5 s in
    int Threads = 0;      // threads started by then
};

// The platform calls doing the library's work without it, on this thread:
// an ACM stream converting about 0.3 s of frames straight into each of four
// wave buffers, refilled as the device hands them back.
Footprint BarePlay(const std::vector<std::uint8_t>& file, const ltmp3::StreamInfo& info, int seconds)
{
    Footprint f;
    const auto& h = info.First;
    auto [mp3, pcm] = FormatsOf(h);
    const std::size_t frames = 12, srcBytes = frames * h.FrameBytes() + 4;
    std::vector<std::uint8_t> buffers(4 * (frames + 4) * 1152 * pcm.nBlockAlign);
    WAVEHDR wh[4]{};
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HACMSTREAM s = nullptr;
    HWAVEOUT w = nullptr;
    std::size_t at = info.Offsets.front();
    Settle();
    const double before = PrivateMb();
    const int threads = ThreadCount();
    const double cpu0 = CpuSeconds(), wall0 = Now(); // opening counted, as for the library
    const double thread0 = ThreadCpuSeconds(GetCurrentThread());
    if (acmStreamOpen(&s, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) ||
        waveOutOpen(&w, WAVE_MAPPER, &pcm, DWORD_PTR(done), 0, CALLBACK_EVENT)) {
        if (s)
            acmStreamClose(s, 0);
        CloseHandle(done);
        return f;
    }
    auto refill = [&](WAVEHDR& b) {
        ACMSTREAMHEADER a{};
        a.cbStruct = sizeof a;
        a.pbSrc = const_cast<std::uint8_t*>(file.data()) + at;
        a.cbSrcLength = DWORD(std::min(srcBytes, file.size() - at));
        a.pbDst = reinterpret_cast<BYTE*>(b.lpData);
        a.cbDstLength = DWORD(buffers.size() / 4);
        if (a.cbSrcLength == 0 || acmStreamPrepareHeader(s, &a, 0))
            return;
        acmStreamConvert(s, &a,
                         ACM_STREAMCONVERTF_BLOCKALIGN | (at == info.Offsets.front() ? ACM_STREAMCONVERTF_START : 0));
        at += a.cbSrcLengthUsed;
        acmStreamUnprepareHeader(s, &a, 0);
        b.dwBufferLength = a.cbDstLengthUsed;
        b.dwFlags &= ~WHDR_DONE;
        waveOutWrite(w, &b, sizeof b);
    };
    for (int i = 0; i < 4; ++i) {
        wh[i].lpData = reinterpret_cast<LPSTR>(buffers.data() + i * buffers.size() / 4);
        wh[i].dwBufferLength = DWORD(buffers.size() / 4);
        waveOutPrepareHeader(w, &wh[i], sizeof wh[i]);
        refill(wh[i]);
    }
    for (bool measured = false; Now() - wall0 < seconds;) {
        WaitForSingleObject(done, 250);
        for (auto& b : wh)
            if (b.dwFlags & WHDR_DONE)
                refill(b);
        if (!measured && Now() - wall0 > 1.5) {
            f.Private = PrivateMb() - before;
            f.Threads = ThreadCount() - threads;
            measured = true;
        }
    }
    f.Cpu = (CpuSeconds() - cpu0) / (Now() - wall0);
    f.ThreadCpu = (ThreadCpuSeconds(GetCurrentThread()) - thread0) / (Now() - wall0);
    waveOutReset(w);
    for (auto& b : wh) {
        b.dwBufferLength = DWORD(buffers.size() / 4);
        waveOutUnprepareHeader(w, &b, sizeof b);
    }
    waveOutClose(w);
    acmStreamClose(s, 0);
    CloseHandle(done);
    return f;
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
        ltmp3::DecodeFrames(d, file, 0, info, i, std::min(info.Offsets.size(), i + 12), pcm);
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
    const std::string lib = lt::FolderPrefix(dir);
    lt::Mp3Library& mp3 = lt::Mp3();
    if (!mp3.Load({lib + "ltmp3.dll"}) || !mp3.Init()) {
        std::puts("no library");
        return 1;
    }
    Ltmp3InputInfo in{};
    double open = 1e9, read = 1e9, fileMb = 0, openPrivate = 0;
    for (int round = 0; round < 5; ++round) {
        double t0 = Now();
        const auto bytes = ReadAll(argv[2]);
        read = std::min(read, Now() - t0);
        fileMb = double(bytes.size()) / (1024.0 * 1024.0);
        const double before = PrivateMb();
        t0 = Now();
        mp3.Open(argv[2], in);
        open = std::min(open, Now() - t0);
        // The file is read once for the scan and let go: what stays is its frame table.
        openPrivate = PrivateMb() - before;
        mp3.Close();
    }
    Row("open big MP3 (ms)", open * 1000, "ms", read * 1000, "reading it once");
    Row("open big MP3, private memory (MB)", openPrivate, "MB", fileMb, "the file's size");
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
    Sleep(DWORD(playSeconds * 1000 - 2000));
    const double mp3Cpu = (CpuSeconds() - cpu0) / (Now() - wall0);
    const double libThreadCpu = ModuleThreadsCpu(GetModuleHandleA("ltmp3.dll")) / (Now() - wall0);
    // Seeks are timed after the playback cost: the bare calls never seek,
    // and each seek decodes its buffers afresh.
    double seek = 0;
    for (int i = 0; i < 5; ++i) {
        const double t0 = Now();
        mp3.Seek(10 + i * 5);
        seek = std::max(seek, Now() - t0);
        Sleep(200);
    }
    std::int32_t pos = 0;
    const int state = mp3.GetState(pos);
    mp3.Stop();
    // Once more: the platform's decoder and output are set up by now, so
    // this is what the library itself holds while it plays.
    Settle();
    const double beforeSecond = PrivateMb();
    const int threadsBefore = ThreadCount();
    mp3.Play();
    Sleep(1500);
    const double secondPlay = PrivateMb() - beforeSecond;
    const int ourThreads = ThreadCount() - threadsBefore;
    mp3.Stop();
    mp3.Close();

    // The same work through the bare platform calls: the floor of the CPU
    // and memory any player pays here. Twice, as the library played.
    const Footprint floor = BarePlay(longFile, *info, playSeconds);
    const Footprint bareSecond = BarePlay(longFile, *info, 2);
    const double thread = IdleThreadMb();

    Row("seek while playing (ms, worst of 5)", seek * 1000, "ms", 100, "fixed");
    Row("playback CPU, % of one core", mp3Cpu * 100, "%", wavCpu * 100, "same audio as WAV via MCI");
    Row("playback CPU, % of one core", mp3Cpu * 100, "%", floor.Cpu * 100, "bare ACM + waveOut playing");
    Row("playback CPU, % of one core", mp3Cpu * 100, "%", 2, "fixed");
    Row("bare ACM + waveOut CPU, % of core", floor.Cpu * 100, "%", 2, "fixed: the floor here");
    Row("library's thread, % of one core", libThreadCpu * 100, "%", floor.ThreadCpu * 100,
        "bare calls' thread doing its work");
    Row("private memory added playing (MB)", whilePlaying - beforePlay, "MB", wavPrivate, "WAV via MCI");
    Row("same, second play (MB)", secondPlay, "MB", bareSecond.Private, "bare ACM + waveOut playing");
    std::printf("(threads started: library %d, bare %d; an idle thread commits %.2f MB here)\n", ourThreads,
                bareSecond.Threads, thread);
    Row("library's own addition (MB)", secondPlay - bareSecond.Private, "MB", 1, "fixed");
    Row("same, less its thread's stacks (MB)",
        secondPlay - bareSecond.Private - (ourThreads - bareSecond.Threads) * thread, "MB", 1, "fixed");
    std::printf("(still playing at the end: state %d at %d s; private memory at start %.1f MB)\n", state, pos,
                privateBefore);
    mp3.Free();
    return 0;
}
