// The open MP3 file, read with ReadFile a block at a time. A read that fails
// (removable or network media going away, another program cutting the file
// short) only gives fewer bytes; nothing of the file is mapped into memory,
// where such a fault would end the process. Writers may still open it (tags
// are written in place).
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/win_handles.h"

namespace ltmp3 {

class FileReader {
public:
    bool Open(const char* path)
    {
        Close();
        file_.reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        // Files of 2 GB and more are not MP3s we play.
        if (!file_ || !GetFileSizeEx(file_.get(), &size) || size.QuadPart == 0 || size.QuadPart >= 0x7FFFFFFF) {
            Close();
            return false;
        }
        size_ = static_cast<std::uint64_t>(size.QuadPart);
        return true;
    }

    void Close()
    {
        file_.reset();
        size_ = 0;
    }

    bool IsOpen() const { return static_cast<bool>(file_); }
    std::uint64_t Size() const { return size_; } // as it was at open

    // Up to `bytes` bytes from `offset` into out; what it got, which is less
    // at the end of the file or after a failed read.
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t bytes) const
    {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!IsOpen() || !SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN))
            return 0;
        std::size_t got = 0;
        while (got < bytes) {
            DWORD n = 0;
            if (!ReadFile(file_.get(), out + got, static_cast<DWORD>(bytes - got), &n, nullptr) || n == 0)
                break;
            got += n;
        }
        return got;
    }

    // The whole file as it is now (for the frame scan and the tag at open).
    std::vector<std::uint8_t> ReadAll() const
    {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size_));
        bytes.resize(ReadAt(0, bytes.data(), bytes.size()));
        return bytes;
    }

private:
    lt::FileHandle file_;
    std::uint64_t size_ = 0;
};

} // namespace ltmp3
