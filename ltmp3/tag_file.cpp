#include "ltmp3/tag_file.h"

#include <windows.h>

#include <cstring>

namespace ltmp3 {

namespace {

bool WriteAt(HANDLE file, std::int64_t offset, const void* data, DWORD size)
{
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD put = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && WriteFile(file, data, size, &put, nullptr) && put == size;
}

} // namespace

bool WriteTagToFile(const char* path, const std::array<std::uint8_t, 128>& tag)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size)) {
        std::uint8_t old[128] = {};
        DWORD got = 0;
        LARGE_INTEGER tail;
        tail.QuadPart = size.QuadPart - 128;
        const bool hasTag = size.QuadPart >= 128 && SetFilePointerEx(file, tail, nullptr, FILE_BEGIN) &&
                            ReadFile(file, old, 128, &got, nullptr) && got == 128 && std::memcmp(old, "TAG", 3) == 0;
        if (hasTag) {
            ok = WriteAt(file, tail.QuadPart, tag.data(), 128);
            if (!ok)
                WriteAt(file, tail.QuadPart, old, 128);
        } else {
            ok = WriteAt(file, size.QuadPart, tag.data(), 128);
            if (!ok) {
                // Cut off whatever part of the tag made it.
                SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
                SetEndOfFile(file);
            }
        }
        if (ok)
            FlushFileBuffers(file);
    }
    CloseHandle(file);
    return ok;
}

} // namespace ltmp3
