// The command queue file shared between copies of the program:
// int16 record count, then records of int16 byte length + ANSI path bytes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

// The command line after the program name, leading blanks removed, cut to
// 30000 characters. Handles a quoted or unquoted program name.
std::string ArgumentsOf(std::string_view fullCommandLine);

// Pieces separated by CR LF, in order. An empty text gives no pieces.
std::vector<std::string> SplitPieces(std::string_view arguments);

// The whole records at the start of a queue image: how many, and the offset
// just after the last one (0 for an image too short to hold its count).
struct QueueEnd {
    unsigned Count = 0;
    std::size_t Offset = 0;
};
QueueEnd EndOfRecords(const std::vector<std::uint8_t>& image);

// Adds one record after the last whole record of a queue image (empty image
// = new file), dropping whatever follows it, and sets the count to the whole
// records. Returns false (image untouched) when the count or the piece length
// would not fit its 16-bit field.
bool AppendRecord(std::vector<std::uint8_t>& image, std::string_view piece);

// Records of a queue image, in order. A damaged or short image yields the
// records that are whole; it never reads past the end.
std::vector<std::string> ParseQueue(const std::vector<std::uint8_t>& image);

// A queued path as it goes to the list: one leading quote removed, trailing
// blanks/NULs trimmed, and then the closing quote when it opened with one.
std::string CleanQueuedPath(std::string_view record);

} // namespace lt
