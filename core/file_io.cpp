#include "core/file_io.h"

#include <new>

#include "core/win_handles.h"

namespace lt {

bool ReadBytes(HANDLE file, std::string& out, DWORD limit, bool* whole)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0)
        return false;
    const DWORD want = size.QuadPart > limit ? limit : static_cast<DWORD>(size.QuadPart);
    if (whole)
        *whole = size.QuadPart <= limit;
    try {
        out.resize(want);
    } catch (const std::bad_alloc&) {
        return false;
    }
    DWORD total = 0;
    while (total < want) {
        DWORD got = 0;
        if (!ReadFile(file, out.data() + total, want - total, &got, nullptr))
            return false;
        if (got == 0)
            break;
        total += got;
    }
    out.resize(total);
    return true;
}

bool WriteBytes(HANDLE file, std::string_view bytes)
{
    std::size_t total = 0;
    while (total < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &put, nullptr) || put == 0)
            return false;
        total += put;
    }
    return true;
}

bool FileHolds(const std::string& path, std::string_view bytes)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart != static_cast<LONGLONG>(bytes.size()))
        return false;
    std::string held;
    bool whole = false;
    return ReadBytes(file.get(), held, static_cast<DWORD>(bytes.size()), &whole) && whole && held == bytes;
}

bool PlaceFile(const std::string& path, std::string_view bytes, bool replace)
{
    char name[32];
    wsprintfA(name, ".%lu.tmp", GetCurrentProcessId());
    const std::string temp = path + name;
    FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    bool ok = WriteBytes(file.get(), bytes);
    file.reset();
    ok = ok && MoveFileExA(temp.c_str(), path.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}

} // namespace lt
