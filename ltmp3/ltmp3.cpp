// The MP3 library: one file open at a time, played on a thread of its own,
// with its MPEG information and ID3v1 tag.
#define LTMP3_BUILDING
#include "ltmp3/ltmp3_api.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "ltmp3/id3v1.h"
#include "ltmp3/file_reader.h"
#include "ltmp3/frame_source.h"
#include "ltmp3/mpeg_frames.h"
#include "ltmp3/tag_file.h"
#include "ltmp3/volume.h"
#include "ltmp3/wave_out_device.h"
#include "ltmp3/wave_player.h"

namespace {

struct LoadedFile {
    std::string Path;
    ltmp3::FileReader Reader;
    ltmp3::StreamInfo Stream;
    std::optional<ltmp3::Id3v1Tag> Tag;
};

struct Library {
    ltmp3::WaveOutDevice Device;
    ltmp3::FrameSource Source;
    ltmp3::WavePlayer Player{Device, Source};
    std::unique_ptr<LoadedFile> File;
    DWORD Volume = 0xFFFFFFFF;
};

// Calls come from the program's one user-interface thread; the player guards
// what its thread shares.
Library* g_library = nullptr;

void CloseFile(Library& lib)
{
    lib.Player.SetPiece(nullptr); // stops and waits for the thread first
    lib.Source.SetFile(nullptr, nullptr);
    lib.File.reset();
}

template <std::size_t N> void CopyText(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

} // namespace

extern "C" std::int32_t __stdcall ltmp3_init()
{
    if (!g_library)
        g_library = new (std::nothrow) Library;
    return g_library ? 1 : 0;
}

extern "C" std::int32_t __stdcall ltmp3_close()
{
    if (!g_library)
        return 0;
    CloseFile(*g_library);
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_free()
{
    if (!g_library)
        return 0;
    CloseFile(*g_library);
    delete g_library;
    g_library = nullptr;
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_open(const char* path, Ltmp3InputInfo* info)
{
    if (!g_library || !path)
        return 0;
    CloseFile(*g_library);
    auto file = std::make_unique<LoadedFile>();
    if (!file->Reader.Open(path))
        return 0;
    {
        // Read once for the scan and the tag; playing reads the frames again
        // a run at a time.
        const std::vector<std::uint8_t> bytes = file->Reader.ReadAll();
        auto stream = ltmp3::ScanFrames(bytes);
        if (!stream)
            return 0; // no valid frame: not an MP3 we can play
        file->Stream = std::move(*stream);
        file->Tag = ltmp3::ReadId3v1(bytes);
    }
    file->Stream.Offsets.shrink_to_fit();
    file->Path = path;
    if (info) {
        std::memset(info, 0, sizeof *info);
        if (file->Tag) {
            CopyText(info->Title, file->Tag->Title);
            CopyText(info->Artist, file->Tag->Artist);
        }
        const auto& s = file->Stream;
        info->Channels = s.First.Channels();
        info->BitRate = s.VariableRate ? s.AverageBitRate() : s.First.BitRate;
        info->SampleRate = s.First.SampleRate;
        info->PlayTime = static_cast<std::int32_t>(s.Seconds());
    }
    g_library->File = std::move(file);
    g_library->Source.SetFile(&g_library->File->Reader, &g_library->File->Stream);
    g_library->Player.SetPiece(&g_library->File->Stream);
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_play()
{
    return g_library && g_library->File && g_library->Player.Play() ? 1 : 0;
}

extern "C" std::int32_t __stdcall ltmp3_stop()
{
    if (!g_library)
        return 0;
    g_library->Player.Stop();
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_pause()
{
    if (!g_library)
        return 0;
    g_library->Player.Pause();
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_restart()
{
    return g_library && g_library->Player.Restart() ? 1 : 0;
}

extern "C" std::int32_t __stdcall ltmp3_seek(std::int32_t seconds)
{
    if (!g_library)
        return 0;
    g_library->Player.Seek(seconds < 0 ? 0u : static_cast<std::uint32_t>(seconds));
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_getState(std::int32_t* position)
{
    std::uint32_t seconds = 0;
    const auto state = g_library ? g_library->Player.State(&seconds) : ltmp3::PlayState::Stopped;
    if (position)
        *position = static_cast<std::int32_t>(seconds);
    return static_cast<std::int32_t>(state);
}

extern "C" std::int32_t __stdcall ltmp3_setVolume(std::int32_t left, std::int32_t right)
{
    if (!g_library)
        return 0;
    const DWORD word = ltmp3::VolumeWord(left, right);
    g_library->Volume = word;
    g_library->Player.SetVolume(word);
    // The device's own volume also governs WAV played through MCI where the
    // platform allows it; where it does not, only our own output follows.
    waveOutSetVolume(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(0)), word);
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_getMpegInfo(Ltmp3MpegInfo* info)
{
    if (!g_library || !g_library->File || !info)
        return 0;
    const auto& s = g_library->File->Stream;
    const auto& h = s.First;
    info->Version = h.Version == 1 ? 1 : 2;
    info->Layer = h.Layer;
    info->Protection = h.ProtectionBit;
    info->Private = h.Private;
    info->ChannelMode = h.ChannelMode;
    info->Copyright = h.Copyright;
    info->Original = h.Original;
    info->Emphasis = h.Emphasis;
    info->Channels = h.Channels();
    info->BitRate = s.VariableRate ? s.AverageBitRate() : h.BitRate;
    info->SampleRate = h.SampleRate;
    info->FileSize = static_cast<std::int32_t>(g_library->File->Reader.Size());
    info->FrameCount = static_cast<std::int32_t>(s.Offsets.size());
    info->PlayTime = static_cast<std::int32_t>(s.Seconds());
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_getTagInfo(Ltmp3TagInfo* tag)
{
    if (!g_library || !g_library->File || !tag)
        return 0;
    ltmp3::TagToRecord(g_library->File->Tag.value_or(ltmp3::Id3v1Tag{}), *tag);
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_setTagInfo(const Ltmp3TagInfo* tag)
{
    if (!g_library || !g_library->File || !tag)
        return 0;
    LoadedFile& file = *g_library->File;
    ltmp3::Id3v1Tag next = ltmp3::TagFromRecord(*tag);
    if (file.Tag)
        next.Track = file.Tag->Track;
    if (!ltmp3::WriteTagToFile(file.Path.c_str(), ltmp3::WriteId3v1(next)))
        return 0;
    // What a later read of the file gives (texts cut to their fields).
    const auto bytes = ltmp3::WriteId3v1(next);
    file.Tag = ltmp3::ReadId3v1(bytes);
    return 1;
}
