// The MP3 library's interface as the program calls it.
#pragma once
#include <cstdint>

#include "ltmp3/ltmp3_records.h"

#ifdef LTMP3_BUILDING
#define LTMP3_API extern "C" __declspec(dllexport)
#else
#define LTMP3_API extern "C" __declspec(dllimport)
#endif

LTMP3_API std::int32_t __stdcall ltmp3_init();
LTMP3_API std::int32_t __stdcall ltmp3_close();
LTMP3_API std::int32_t __stdcall ltmp3_free();
LTMP3_API std::int32_t __stdcall ltmp3_open(const char* path, Ltmp3InputInfo* info);
LTMP3_API std::int32_t __stdcall ltmp3_play();
LTMP3_API std::int32_t __stdcall ltmp3_stop();
LTMP3_API std::int32_t __stdcall ltmp3_pause();
LTMP3_API std::int32_t __stdcall ltmp3_restart();
LTMP3_API std::int32_t __stdcall ltmp3_seek(std::int32_t seconds);
LTMP3_API std::int32_t __stdcall ltmp3_getState(std::int32_t* position);
LTMP3_API std::int32_t __stdcall ltmp3_setVolume(std::int32_t left, std::int32_t right);
LTMP3_API std::int32_t __stdcall ltmp3_getMpegInfo(Ltmp3MpegInfo* info);
LTMP3_API std::int32_t __stdcall ltmp3_getTagInfo(Ltmp3TagInfo* tag);
LTMP3_API std::int32_t __stdcall ltmp3_setTagInfo(const Ltmp3TagInfo* tag);
