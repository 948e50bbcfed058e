// The MP3 library, loaded at run time from the file start-up put in place.
#pragma once
#include <string>
#include <vector>

namespace lt {

class Mp3Library {
public:
    // Loads the first candidate that is a usable library.
    bool Load(const std::vector<std::string>& candidates);
    bool Loaded() const { return module_ != nullptr; }
    const std::string& LoadedFrom() const { return path_; }

    bool Init(); // false: the library cannot play (the program cannot run)
    void Close();
    void Free();

private:
    using Fn = long(__stdcall*)();
    void* module_ = nullptr;
    std::string path_;
    Fn init_ = nullptr, close_ = nullptr, free_ = nullptr;
};

Mp3Library& Mp3();

} // namespace lt
