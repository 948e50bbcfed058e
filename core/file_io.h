// Reading and writing whole open files.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace lt {

// Reads an open file from its start: at most `limit` bytes, so a larger file
// gives its start (and *whole false). False on a read error or no memory.
bool ReadBytes(HANDLE file, std::string& out, DWORD limit, bool* whole = nullptr);

// Writes every byte at the file's current position; false on a short write.
bool WriteBytes(HANDLE file, std::string_view bytes);

// True when the file at path holds exactly these bytes.
bool FileHolds(const std::string& path, std::string_view bytes);

// Puts a whole file in place: written under a name of its own, then renamed
// to path, so that nobody ever loads or reads half a file. An existing file
// is replaced only when `replace` is set (else the first writer wins). False
// when the file could not be put there; nothing is left behind.
bool PlaceFile(const std::string& path, std::string_view bytes, bool replace);

} // namespace lt
