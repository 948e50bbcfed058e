// A file mapped read-only for as long as it is open in the library: the
// frame scan and the decoder read it in place, so playing adds no copy of it
// to our memory. Writers may still open it (tags are written in place).
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>

namespace ltmp3 {

class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() { Close(); }

    bool Open(const char* path)
    {
        Close();
        file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file_ == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size{};
        // Empty files cannot be mapped; files of 2 GB and more are not MP3s we play.
        if (!GetFileSizeEx(file_, &size) || size.QuadPart == 0 || size.QuadPart >= 0x7FFFFFFF) {
            Close();
            return false;
        }
        mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
        view_ = mapping_ ? static_cast<const std::uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0)) : nullptr;
        if (!view_) {
            Close();
            return false;
        }
        size_ = static_cast<std::size_t>(size.QuadPart);
        return true;
    }

    void Close()
    {
        if (view_)
            UnmapViewOfFile(view_);
        if (mapping_)
            CloseHandle(mapping_);
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
        view_ = nullptr;
        mapping_ = nullptr;
        file_ = INVALID_HANDLE_VALUE;
        size_ = 0;
    }

    std::span<const std::uint8_t> Bytes() const { return {view_, size_}; }
    bool IsOpen() const { return view_ != nullptr; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    const std::uint8_t* view_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace ltmp3
