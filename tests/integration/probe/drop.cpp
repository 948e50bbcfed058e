#include "drop.h"

#include <shlobj.h>

#include <cstdlib>
#include <cstring>

namespace lt::probe {

namespace {

std::vector<char> DropBlock(const std::vector<std::wstring>& paths)
{
    std::vector<char> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->pt = {20, 20};
    header->fNC = FALSE;
    header->fWide = FALSE;
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

bool DropFiles(HWND target, const std::vector<std::wstring>& paths, std::string& error)
{
    std::vector<char> block = DropBlock(paths);
    const char* mode = std::getenv("LTPROBE_DROP");
    if (mode && std::strcmp(mode, "remote") == 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(target, &pid);
        HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        void* remote = proc ? VirtualAllocEx(proc, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE) : nullptr;
        if (!remote || !WriteProcessMemory(proc, remote, block.data(), block.size(), nullptr)) {
            error = "cannot place the drop block in the target";
            return false;
        }
        CloseHandle(proc);
        return SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0), true;
    }
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size());
    void* p = GlobalLock(mem);
    std::memcpy(p, block.data(), block.size());
    GlobalUnlock(mem);
    bool send = mode && std::strcmp(mode, "send") == 0;
    if (send)
        SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    else
        PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    Sleep(500);
    return true;
}

} // namespace lt::probe
