// How the file dialog class prepares its buffers for the platform's open and
// save dialogs and reads the choice back. Texts are Shift-JIS byte strings;
// "\" and "|" are only looked for on character boundaries, because both also
// occur as trail bytes of double-byte characters (ソ is 83 5C, ポ is 83 7C).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lt {

// Dialog flag bits the class reads itself; all others go to the platform as
// they are.
inline constexpr std::uint32_t OfnAllowMultiSelect = 0x200;
inline constexpr std::uint32_t OfnExplorer = 0x80000;

// Error number a cancelled dialog reports when the caller asked for it.
inline constexpr int CancelErrorNumber = 32755;

// Size of the title buffer and what the dialog is told about it.
inline constexpr std::size_t TitleBufferLength = 255;

// "A|*.a|B|*.b" -> "A\0*.a\0B\0*.b\0": every bar becomes NUL and one more
// NUL is added; with the string's own terminator the platform sees the double
// NUL that ends its list.
std::string PlatformFilter(std::string_view filter);

// Characters in the file-name buffer: the requested size when above 255,
// else 255.
std::size_t FileBufferLength(std::int32_t maxFileSize);

// What the dialog is told the file-name buffer holds: the whole buffer only
// for an explorer multiple selection (its list of names needs the room).
std::uint32_t DialogMaxFile(std::uint32_t flags, std::size_t bufferLength);

// A buffer of exactly `length` characters: the start of `text` padded with
// `terminator`, and `terminator` as the last character. A double-byte
// character that would be cut in half is padded over instead.
std::string FillBuffer(std::string_view text, std::size_t length, char terminator);

inline std::string FillFileBuffer(std::string_view fileName, std::size_t length, char terminator)
{
    return FillBuffer(fileName, length, terminator);
}

inline std::string FillTitleBuffer(std::string_view fileTitle, char terminator)
{
    return FillBuffer(fileTitle, TitleBufferLength, terminator);
}

// Folder of a path: up to the last "\" or ":", then one trailing "\" off.
// C:\dir\a.bmp -> C:\dir, C:\a.bmp -> C:, C:a.bmp -> C:, x.txt -> "".
std::string FolderPart(std::string_view path);

// Looks up one path on the disk and gives the found entry's own (long) name.
using NameLookup = std::function<std::optional<std::string>(const std::string& shortPrefix)>;

// The path with every component after the drive replaced by its long name as
// `lookup` finds it; components it does not find are left out. A path without
// "\" comes back unchanged.
std::string LongNameForm(std::string_view path, const NameLookup& lookup);

// Properties a successful dialog assigns, in this order; a read-back that
// fails part way leaves the later ones unset and names the failure.
struct DialogReadBack {
    std::optional<std::string> FileName;
    std::optional<std::string> FileTitle;
    std::optional<std::string> DirectoryName;
    std::optional<std::string> Failure; // description for the user
};

// Reads the buffers the dialog filled, by the selection mode in `flags`:
//  - single: the path and the title up to their NULs, the folder of the path;
//  - explorer multiple: "folder\0name\0name\0\0" up to the double NUL, and
//    the folder up to the first NUL;
//  - old-style multiple: "folder name name" up to the first double space,
//    and the long-name form of the folder (it comes back in 8.3 form).
// Only the buffers' own characters count, not a terminator after them.
DialogReadBack ReadBackSelection(std::uint32_t flags, std::string_view fileBuffer, std::string_view titleBuffer,
                                 const NameLookup& lookup);

} // namespace lt
