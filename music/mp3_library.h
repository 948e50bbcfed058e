// The MP3 library, loaded at run time from the file start-up put in place.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ltmp3/ltmp3_records.h"

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

    // The library's functions; 0 when it is not loaded.
    std::int32_t Open(const std::string& path, Ltmp3InputInfo& info);
    std::int32_t Play();
    std::int32_t Stop();
    std::int32_t Pause();
    std::int32_t Restart();
    std::int32_t Seek(std::int32_t seconds);
    std::int32_t GetState(std::int32_t& position);
    std::int32_t SetVolume(std::int32_t left, std::int32_t right);
    std::int32_t GetMpegInfo(Ltmp3MpegInfo& info);
    std::int32_t GetTagInfo(Ltmp3TagInfo& tag);
    std::int32_t SetTagInfo(const Ltmp3TagInfo& tag);

private:
    using Fn = std::int32_t(__stdcall*)();
    using FnInt = std::int32_t(__stdcall*)(std::int32_t);
    using FnIntPtr = std::int32_t(__stdcall*)(std::int32_t*);
    using FnInt2 = std::int32_t(__stdcall*)(std::int32_t, std::int32_t);
    using FnOpen = std::int32_t(__stdcall*)(const char*, Ltmp3InputInfo*);
    using FnMpeg = std::int32_t(__stdcall*)(Ltmp3MpegInfo*);
    using FnTag = std::int32_t(__stdcall*)(Ltmp3TagInfo*);
    using FnSetTag = std::int32_t(__stdcall*)(const Ltmp3TagInfo*);

    void* module_ = nullptr;
    std::string path_;
    Fn init_ = nullptr, close_ = nullptr, free_ = nullptr;
    Fn play_ = nullptr, stop_ = nullptr, pause_ = nullptr, restart_ = nullptr;
    FnInt seek_ = nullptr;
    FnIntPtr getState_ = nullptr;
    FnInt2 setVolume_ = nullptr;
    FnOpen open_ = nullptr;
    FnMpeg getMpegInfo_ = nullptr;
    FnTag getTagInfo_ = nullptr;
    FnSetTag setTagInfo_ = nullptr;
};

Mp3Library& Mp3();

} // namespace lt
