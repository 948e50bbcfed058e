#include "drop.h"

#include <shlobj.h>

#include "remote_memory.h"

namespace lt::probe {

// Wine does not carry a global memory handle across processes, so the
// DROPFILES block (ANSI names, each NUL-ended, then one more NUL) is placed in
// the target's own memory; the drag functions take a plain pointer as well.
// Sent: on return every file has been taken and the block can go.
bool DropFiles(HWND target, const std::vector<std::wstring>& paths, std::string& error, DWORD timeoutMs)
{
    std::vector<char> block(sizeof(DROPFILES));
    reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
    for (const std::wstring& p : paths) {
        int n = WideCharToMultiByte(CP_ACP, 0, p.c_str(), -1, nullptr, 0, nullptr, nullptr);
        block.resize(block.size() + static_cast<size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, p.c_str(), -1, block.data() + block.size() - n, n, nullptr, nullptr);
    }
    block.push_back('\0');
    RemoteBlock mem(target, block.size());
    if (!mem || !mem.Write(0, block.data(), block.size())) {
        error = "cannot place the drop block in the target process";
        return false;
    }
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem.Address()), 0, SMTO_NORMAL, timeoutMs,
                             &r)) {
        mem.Abandon(); // still being handled: leave the block to the target
        error = "the drop was not handled in time";
        return false;
    }
    return true;
}

} // namespace lt::probe
