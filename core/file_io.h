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

} // namespace lt
