#include "core/file_io.h"

#include <new>

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

} // namespace lt
