#include "core/message_pump.h"

#include <windows.h>

namespace lt {

namespace {
bool g_quitting = false;
MessageFilter g_filter = nullptr;
} // namespace

void SetMessageFilter(MessageFilter filter)
{
    g_filter = filter;
}

void DispatchPumped(MSG& msg)
{
    if (g_filter && g_filter(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

bool PumpMessages()
{
    MSG msg;
    while (!g_quitting && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the main loop.
            RequestQuit(static_cast<int>(msg.wParam));
            break;
        }
        DispatchPumped(msg);
    }
    return !g_quitting;
}

bool Quitting()
{
    return g_quitting;
}

void RequestQuit(int exitCode)
{
    g_quitting = true;
    PostQuitMessage(exitCode);
}

void ResetQuitting()
{
    g_quitting = false;
}

} // namespace lt
