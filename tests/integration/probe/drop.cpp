#include "drop.h"

#include <shlobj.h>

#include <cstring>

#include "remote_memory.h"

namespace lt::probe {

namespace {

// DROPFILES header, then the ANSI names, each NUL-terminated, then one more NUL.
std::vector<char> DropBlock(const std::vector<std::wstring>& paths)
{
    std::vector<char> block(sizeof(DROPFILES));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.pt = {20, 20};
    header.fNC = FALSE;
    header.fWide = FALSE;
    std::memcpy(block.data(), &header, sizeof header);
    for (const std::wstring& p : paths) {
        int n = WideCharToMultiByte(CP_ACP, 0, p.c_str(), -1, nullptr, 0, nullptr, nullptr);
        size_t at = block.size();
        block.resize(at + static_cast<size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, p.c_str(), -1, block.data() + at, n, nullptr, nullptr);
    }
    block.push_back('\0');
    return block;
}

} // namespace

// Wine does not carry a global memory handle across processes with the
// message: a block made here with GlobalAlloc reaches the target as a handle
// its DragQueryFileA cannot read (count 0). So the block is placed in the
// target's own memory. The drag functions lock the handle with GlobalLock,
// which gives back a plain (non-handle) pointer unchanged, so such a block
// reads like one the shell made. The message is sent, not posted: when it
// returns, the target has taken every file, and the block can be freed.
bool DropFiles(HWND target, const std::vector<std::wstring>& paths, std::string& error)
{
    std::vector<char> block = DropBlock(paths);
    RemoteBlock mem(target, block.size());
    if (!mem || !mem.Write(0, block.data(), block.size())) {
        error = "cannot place the drop block in the target process";
        return false;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem.Address()), 0, SMTO_NORMAL,
                             DropTimeoutMs, &result)) {
        // Still being handled: leave the block to the target rather than
        // pulling it away under its feet.
        mem.Abandon();
        error = "the drop was not handled in time";
        return false;
    }
    return true;
}

} // namespace lt::probe
