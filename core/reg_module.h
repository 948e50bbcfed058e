// Registry reads and writes for the file-type association and the MIDI port
// table.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace lt {

// A value as text: REG_SZ up to its first NUL, REG_BINARY as its bytes,
// REG_DWORD as its decimal number; "Error" when the key or value cannot be
// read or has another type. Opens the key for reading only, so that keys a
// normal user may read but not change still read.
std::string GetRegValue(HKEY root, const std::string& subKey, const std::string& name);

// Creates the key (and missing parents); the platform's result code, 0 on success.
LONG CreateRegKey(HKEY root, const std::string& subKey);

// Writes a value to an existing key: REG_SZ as its ANSI bytes and one NUL,
// REG_BINARY as its bytes. False when refused.
bool SetRegValue(HKEY root, const std::string& subKey, const std::string& name, std::string_view value, DWORD kind);

// Writes a text value (ANSI bytes and one NUL) to an existing key; false when refused.
bool SetRegText(HKEY root, const std::string& subKey, const std::string& name, std::string_view text);
// Writes a binary value to an existing key; false when refused.
bool SetRegBinary(HKEY root, const std::string& subKey, const std::string& name, std::string_view bytes);

// A value as stored: kind and bytes, nothing when it cannot be read.
struct RegValue {
    DWORD Kind = 0;
    std::string Bytes;
};
std::optional<RegValue> ReadRegValue(HKEY root, const std::string& subKey, const std::string& name);
// Writes a value of an existing key exactly as read (no NUL added to text);
// false when refused.
bool PutRegValue(HKEY root, const std::string& subKey, const std::string& name, const RegValue& value);

bool RegKeyExists(HKEY root, const std::string& subKey);
// True when the key holds neither values nor keys (false when it cannot be opened).
bool RegKeyIsEmpty(HKEY root, const std::string& subKey);
bool DeleteRegValue(HKEY root, const std::string& subKey, const std::string& name);
// Deletes the key and everything under it.
bool DeleteRegTree(HKEY root, const std::string& subKey);

} // namespace lt
