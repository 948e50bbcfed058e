// A temporary folder for one test, removed with everything in it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace lt::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; } // no trailing backslash
    std::string File(std::string_view name) const { return path_ + "\\" + std::string(name); }
    // Writes bytes to name and returns its full path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    // Whole content of the file at a full path, or "<missing>".
    static std::string Read(const std::string& path);

private:
    std::string path_;
};

// Tiny fixtures: just the leading bytes that decide a file's kind.
inline constexpr std::string_view BmpBytes{"BM\x3a\0\0\0", 6};
inline constexpr std::string_view MidiBytes{"MThd\0\0\0\x06", 8};
inline constexpr std::string_view WavBytes{"RIFF\x24\0\0\0WAVEfmt ", 16};
inline constexpr std::string_view AviBytes{"RIFF\x24\0\0\0AVI LIST", 16};
inline constexpr std::string_view Mp3Bytes{"\xff\xfb\x90\x44", 4};

} // namespace lt::test
