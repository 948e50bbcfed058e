// Polling for a state of another process, which gives no signal of its own.
#pragma once
#include <windows.h>

namespace lt::probe {

// Polls until ok() holds or the time is up.
template <typename Pred> bool WaitUntil(DWORD timeoutMs, Pred ok)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (ok())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

} // namespace lt::probe
