#include "music/mp3_library.h"

#include <windows.h>

namespace lt {

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
        auto init = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, "ltmp3_init")));
        auto close = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, "ltmp3_close")));
        auto free = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, "ltmp3_free")));
        if (!init || !close || !free) {
            FreeLibrary(m);
            continue;
        }
        module_ = m;
        path_ = path;
        init_ = init;
        close_ = close;
        free_ = free;
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

} // namespace lt
