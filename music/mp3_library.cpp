#include "music/mp3_library.h"

#include <windows.h>

namespace lt {

namespace {

template <typename F> bool Bind(HMODULE m, const char* name, F& out)
{
    out = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    return out != nullptr;
}

} // namespace

Mp3Library& Mp3()
{
    static Mp3Library library;
    return library;
}

bool Mp3Library::Load(const std::vector<std::string>& candidates)
{
    for (const std::string& path : candidates) {
        HMODULE m = LoadLibraryA(path.c_str());
        if (!m)
            continue;
        Mp3Library l;
        const bool all = Bind(m, "ltmp3_init", l.init_) && Bind(m, "ltmp3_close", l.close_) &&
                         Bind(m, "ltmp3_free", l.free_) && Bind(m, "ltmp3_open", l.open_) &&
                         Bind(m, "ltmp3_play", l.play_) && Bind(m, "ltmp3_stop", l.stop_) &&
                         Bind(m, "ltmp3_pause", l.pause_) && Bind(m, "ltmp3_restart", l.restart_) &&
                         Bind(m, "ltmp3_seek", l.seek_) && Bind(m, "ltmp3_getState", l.getState_) &&
                         Bind(m, "ltmp3_setVolume", l.setVolume_) && Bind(m, "ltmp3_getMpegInfo", l.getMpegInfo_) &&
                         Bind(m, "ltmp3_getTagInfo", l.getTagInfo_) && Bind(m, "ltmp3_setTagInfo", l.setTagInfo_);
        if (!all) {
            FreeLibrary(m);
            continue;
        }
        *this = l;
        module_ = m;
        path_ = path;
        return true;
    }
    return false;
}

bool Mp3Library::Init()
{
    return init_ && init_() != 0;
}

void Mp3Library::Close()
{
    if (close_)
        close_();
}

void Mp3Library::Free()
{
    if (free_)
        free_();
}

std::int32_t Mp3Library::Open(const std::string& path, Ltmp3InputInfo& info)
{
    return open_ ? open_(path.c_str(), &info) : 0;
}
std::int32_t Mp3Library::Play()
{
    return play_ ? play_() : 0;
}
std::int32_t Mp3Library::Stop()
{
    return stop_ ? stop_() : 0;
}
std::int32_t Mp3Library::Pause()
{
    return pause_ ? pause_() : 0;
}
std::int32_t Mp3Library::Restart()
{
    return restart_ ? restart_() : 0;
}
std::int32_t Mp3Library::Seek(std::int32_t seconds)
{
    return seek_ ? seek_(seconds) : 0;
}
std::int32_t Mp3Library::GetState(std::int32_t& position)
{
    position = 0;
    return getState_ ? getState_(&position) : 0;
}
std::int32_t Mp3Library::SetVolume(std::int32_t left, std::int32_t right)
{
    return setVolume_ ? setVolume_(left, right) : 0;
}
std::int32_t Mp3Library::GetMpegInfo(Ltmp3MpegInfo& info)
{
    return getMpegInfo_ ? getMpegInfo_(&info) : 0;
}
std::int32_t Mp3Library::GetTagInfo(Ltmp3TagInfo& tag)
{
    return getTagInfo_ ? getTagInfo_(&tag) : 0;
}
std::int32_t Mp3Library::SetTagInfo(const Ltmp3TagInfo& tag)
{
    return setTagInfo_ ? setTagInfo_(&tag) : 0;
}

} // namespace lt
