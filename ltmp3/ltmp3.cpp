// The MP3 library. This part holds its lifetime: init once at start, close
// and free at exit. Playback comes on top of the state kept here.
#define LTMP3_BUILDING
#include "ltmp3/ltmp3_api.h"

#include <windows.h>

namespace {

struct LibraryState {
    bool initialised = false;
    CRITICAL_SECTION lock;
};

LibraryState g_state;

} // namespace

extern "C" std::int32_t __stdcall ltmp3_init()
{
    if (!g_state.initialised) {
        InitializeCriticalSection(&g_state.lock);
        g_state.initialised = true;
    }
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_close()
{
    if (!g_state.initialised)
        return 0;
    EnterCriticalSection(&g_state.lock);
    // Nothing is open yet beyond the library itself.
    LeaveCriticalSection(&g_state.lock);
    return 1;
}

extern "C" std::int32_t __stdcall ltmp3_free()
{
    if (!g_state.initialised)
        return 0;
    DeleteCriticalSection(&g_state.lock);
    g_state.initialised = false;
    return 1;
}
