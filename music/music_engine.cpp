#include "music/music_engine.h"

#include <windows.h>

#include "core/file_list.h"
#include "core/settings_store.h"
#include "core/app_identity.h"
#include "core/win_handles.h"
#include "music/mp3_library.h"

// Exported by winmm but missing from the MinGW headers.
extern "C" BOOL WINAPI mciExecute(LPCSTR command);

namespace lt {

namespace {

class RealMci final : public MciPort {
public:
    std::uint32_t SendString(const std::string& command, std::string* answer, int answerSize) override
    {
        if (!answer || answerSize <= 0)
            return mciSendStringA(command.c_str(), nullptr, 0, nullptr);
        std::string buffer(static_cast<std::size_t>(answerSize) + 1, '\0');
        const MCIERROR code = mciSendStringA(command.c_str(), buffer.data(), answerSize, nullptr);
        *answer = code == 0 ? std::string(buffer.c_str()) : std::string();
        return code;
    }
    bool Execute(const std::string& command) override { return mciExecute(command.c_str()) != FALSE; }
    std::string ErrorText(std::uint32_t code) override
    {
        char text[1024] = {};
        mciGetErrorStringA(code, text, sizeof text);
        return text;
    }
};

class RealMp3 final : public Mp3Port {
public:
    std::int32_t Open(const std::string& path, Ltmp3InputInfo& info) override { return Mp3().Open(path, info); }
    std::int32_t Play() override { return Mp3().Play(); }
    void Stop() override { Mp3().Stop(); }
    void Pause() override { Mp3().Pause(); }
    std::int32_t Restart() override { return Mp3().Restart(); }
    void Seek(std::int32_t seconds) override { Mp3().Seek(seconds); }
    std::int32_t GetState(std::int32_t& position) override { return Mp3().GetState(position); }
    void SetVolume(std::int32_t left, std::int32_t right) override { Mp3().SetVolume(left, right); }
    void Close() override { Mp3().Close(); }
    std::int32_t GetMpegInfo(Ltmp3MpegInfo& info) override { return Mp3().GetMpegInfo(info); }
};

class RealSystem final : public SystemPort {
public:
    bool FileExists(const std::string& path) override
    {
        const DWORD a = GetFileAttributesA(path.c_str());
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::string ShortPath(const std::string& path) override
    {
        char buffer[1024] = {};
        const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
        return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
    }
    std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) override
    {
        // MIDI files are small; anything past this is not one we read titles from.
        constexpr LONGLONG Limit = 16 * 1024 * 1024;
        FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > Limit)
            return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
            return std::nullopt;
        bytes.resize(got);
        return bytes;
    }
    void ShowMessage(const std::string& text) override
    {
        MessageBoxA(GetActiveWindow(), text.c_str(), AppTitle, MB_OK);
    }
    void SetMidiOutVolume(std::uint32_t word) override
    {
        midiOutSetVolume(reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(0)), word);
    }
    bool PumpEvents() override { return PumpMessages(); }
};

// Without a player window: no timer to switch, the next piece from the list.
class ListHooks final : public PlayerHooks {
public:
    void SetMusicTimer(bool) override {}
    int NextMusicEntry() override
    {
        return FindNextOfKind(FileList().PlayingEntry, FileKind::Midi, FileKind::Mp3, FileKind::None, true);
    }
    void ActivateEntry(int index) override { AcxtiveFile(index); }
};

RealMci g_mci;
RealMp3 g_mp3;
RealSystem g_system;
ListHooks g_listHooks;

} // namespace

PlaybackEngine& MusicEngine()
{
    static PlaybackEngine engine = [] {
        PlaybackEngine e(g_mci, g_mp3, g_system, AppSettings());
        e.SetHooks(&g_listHooks);
        e.SetMidiTable(&MidiDevices());
        return e;
    }();
    return engine;
}

void SetPlayerHooks(PlayerHooks* hooks)
{
    MusicEngine().SetHooks(hooks ? hooks : &g_listHooks);
}

} // namespace lt
