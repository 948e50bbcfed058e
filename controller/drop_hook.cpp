#include "controller/drop_hook.h"

#include <shellapi.h>

#include "core/command_queue_format.h"
#include "core/file_list.h"
#include "core/kind_prefetch.h"
#include "core/text_rules.h"
#include "core/win_handles.h"

namespace lt {

namespace {
WNDPROC g_previous = nullptr;
HWND g_hooked = nullptr;
} // namespace

bool HookWindow(HWND window)
{
    if (g_previous)
        return false;
    g_hooked = window;
    g_previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropWndProc)));
    return true;
}

bool UnhookWindow()
{
    if (!g_previous)
        return false;
    SetWindowLongPtrA(g_hooked, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    g_previous = nullptr;
    g_hooked = nullptr;
    return true;
}

LRESULT CALLBACK DropWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC previous = g_previous;
    switch (msg) {
    case WM_DROPFILES:
        HandleDrop(reinterpret_cast<HDROP>(wp));
        break;
    case WM_RBUTTONDOWN:
        PostMessageA(GetParent(hwnd), WM_LT_LISTMENU, 0, 0);
        break;
    case WM_KEYDOWN:
        if (wp == VK_F2 || wp == VK_F3)
            PostMessageA(GetParent(hwnd), WM_LT_LISTKEY, wp, 0);
        break;
    default:
        break;
    }
    return previous ? CallWindowProcA(previous, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> DroppedPaths(HDROP drop)
{
    std::vector<std::string> paths;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string buffer(length + 1, '\0');
        DragQueryFileA(drop, i, buffer.data(), length + 1);
        paths.push_back(CutAtNul(buffer));
    }
    return paths;
}

void HandleDrop(HDROP drop)
{
    // Taken out before anything else runs: the handle is ours to finish.
    std::vector<std::string> paths = DroppedPaths(drop);
    DragFinish(drop);
    for (const std::string& path : paths) {
        FileList().CurrentFile = path;
        LoadFile();
        if (!PumpMessages())
            return; // the program is ending
    }
}

void AddQueuedFiles(std::vector<std::string> records)
{
    for (std::string& record : records)
        record = CleanQueuedPath(record);
    KindPrefetch prefetch(records);
    {
        ListModeScope batch(true, false);
        std::size_t done = 0;
        for (const std::string& path : records) {
            FileList().CurrentFile = path;
            LoadFile();
            if (++done % 256 == 0 && !PumpMessages())
                return;
        }
    }
    RebuildListDisplay("");
}

} // namespace lt
