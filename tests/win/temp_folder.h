// A temporary folder for one test, removed with everything in it, and tiny
// fixtures: just the leading bytes that decide a file's kind.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>

namespace lt::test {

class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<int> serial{0};
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = temp + ("lt-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++));
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder()
    {
        const std::string from = path_ + std::string(2, '\0');
        SHFILEOPSTRUCTA op{nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI,
                           FALSE,   nullptr,   nullptr};
        SHFileOperationA(&op);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; } // no trailing backslash
    std::string File(std::string_view name) const { return path_ + "\\" + std::string(name); }
    // Writes bytes to name and returns its full path.
    std::string Write(std::string_view name, std::string_view bytes) const
    {
        HANDLE f = CreateFileA(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD put = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
        CloseHandle(f);
        return File(name);
    }
    // Whole content of the file at a full path, or "<missing>".
    static std::string Read(const std::string& path)
    {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        std::string out(f == INVALID_HANDLE_VALUE ? 0 : GetFileSize(f, nullptr), '\0');
        DWORD got = 0;
        const bool read =
            f != INVALID_HANDLE_VALUE && ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
        CloseHandle(f);
        return read ? out.substr(0, got) : "<missing>";
    }

private:
    std::string path_;
};

#ifdef LT_MP3_DLL // the MP3 library built with the tests
inline std::string Mp3DllPath()
{
    std::string dll = "Z:" LT_MP3_DLL;
    std::replace(dll.begin(), dll.end(), '/', '\\');
    return dll;
}
#endif

inline constexpr std::string_view BmpBytes{"BM\x3a\0\0\0", 6}, MidiBytes{"MThd\0\0\0\x06", 8},
    WavBytes{"RIFF\x24\0\0\0WAVEfmt ", 16}, AviBytes{"RIFF\x24\0\0\0AVI LIST", 16}, Mp3Bytes{"\xff\xfb\x90\x44", 4};

} // namespace lt::test
