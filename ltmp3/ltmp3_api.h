// The MP3 library's interface as the program calls it.
#pragma once
#include <cstdint>

#ifdef LTMP3_BUILDING
#define LTMP3_API extern "C" __declspec(dllexport)
#else
#define LTMP3_API extern "C" __declspec(dllimport)
#endif

LTMP3_API std::int32_t __stdcall ltmp3_init();
LTMP3_API std::int32_t __stdcall ltmp3_close();
LTMP3_API std::int32_t __stdcall ltmp3_free();
