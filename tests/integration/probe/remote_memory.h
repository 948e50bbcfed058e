// A block of memory inside another process, for messages whose parameters
// are pointers: Wine does not carry such data across processes by itself.
#pragma once
#include <windows.h>

#include <cstddef>

namespace lt::probe {

class RemoteBlock {
public:
    RemoteBlock(HWND owner, std::size_t size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    void* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    bool Write(std::size_t at, const void* data, std::size_t n) const
    {
        return address_ && WriteProcessMemory(process_, Address(at), data, n, nullptr);
    }
    bool Read(std::size_t at, void* data, std::size_t n) const
    {
        return address_ && ReadProcessMemory(process_, Address(at), data, n, nullptr);
    }
    // A message that timed out may still use the block: leave it there.
    void Abandon() { address_ = nullptr; }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

} // namespace lt::probe
