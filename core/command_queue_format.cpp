#include "core/command_queue_format.h"

#include <algorithm>
#include <limits>

#include "core/text_rules.h"

namespace lt {

namespace {

constexpr std::size_t MaxArgumentChars = 30000;
// The count is a signed 16-bit field; the length is read back unsigned.
constexpr unsigned MaxRecords = std::numeric_limits<std::int16_t>::max();
constexpr std::size_t MaxRecordBytes = std::numeric_limits<std::uint16_t>::max();

unsigned ReadU16(const std::vector<std::uint8_t>& image, std::size_t at)
{
    return image[at] | (image[at + 1] << 8);
}

void WriteU16(std::vector<std::uint8_t>& image, std::size_t at, unsigned value)
{
    image[at] = static_cast<std::uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string ArgumentsOf(std::string_view line)
{
    // The program name runs to the first blank outside double quotes, the way
    // the C runtime splits off argv[0]: "C:\a b\x.exe" rest, C:\x.exe rest.
    std::size_t i = 0;
    bool quoted = false;
    for (; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (!quoted && IsBlank(line[i]))
            break;
    }
    while (i < line.size() && IsBlank(line[i]))
        ++i;

    // Count characters, not bytes, and never split a double-byte one.
    std::size_t end = i, chars = 0;
    while (end < line.size() && chars < MaxArgumentChars) {
        const bool twoBytes = IsSjisLead(static_cast<unsigned char>(line[end])) && end + 1 < line.size();
        end += twoBytes ? 2 : 1;
        ++chars;
    }
    return std::string(line.substr(i, end - i));
}

std::vector<std::string> SplitPieces(std::string_view rest)
{
    std::vector<std::string> pieces;
    while (!rest.empty()) {
        const std::size_t crlf = rest.find("\r\n");
        pieces.emplace_back(rest.substr(0, crlf));
        rest = crlf == std::string_view::npos ? std::string_view{} : rest.substr(crlf + 2);
    }
    return pieces;
}

namespace {

// Walks the whole records the count announces; stops at the first that does
// not fit, so a damaged or cut image never reads past its end.
template <typename F> QueueEnd WalkRecords(const std::vector<std::uint8_t>& image, F take)
{
    if (image.size() < 2)
        return {};
    // A damaged (negative) count reads as a large one: the walk still stops
    // at the first record that does not fit.
    const unsigned count = ReadU16(image, 0);
    QueueEnd end{0, 2};
    while (end.Count < count && image.size() - end.Offset >= 2) {
        const std::size_t length = ReadU16(image, end.Offset);
        if (image.size() - end.Offset - 2 < length)
            break;
        take(reinterpret_cast<const char*>(image.data() + end.Offset + 2), length);
        end.Offset += 2 + length;
        ++end.Count;
    }
    return end;
}

} // namespace

QueueEnd EndOfRecords(const std::vector<std::uint8_t>& image)
{
    return WalkRecords(image, [](const char*, std::size_t) {});
}

bool AppendRecord(std::vector<std::uint8_t>& image, std::string_view piece)
{
    const QueueEnd end = EndOfRecords(image);
    if (piece.size() > MaxRecordBytes || end.Count >= MaxRecords)
        return false;
    // Bytes after the last whole record (a write cut short) are dropped; a
    // file too short to hold its count starts afresh.
    image.resize(end.Offset);
    if (image.size() < 2)
        image.assign(2, 0);
    WriteU16(image, 0, end.Count + 1);
    const std::size_t at = image.size();
    image.resize(at + 2 + piece.size());
    WriteU16(image, at, static_cast<unsigned>(piece.size()));
    std::copy(piece.begin(), piece.end(), image.begin() + static_cast<std::ptrdiff_t>(at + 2));
    return true;
}

std::vector<std::string> ParseQueue(const std::vector<std::uint8_t>& image)
{
    std::vector<std::string> records;
    WalkRecords(image, [&](const char* bytes, std::size_t length) { records.emplace_back(bytes, length); });
    return records;
}

std::string CleanQueuedPath(std::string_view record)
{
    const bool opened = !record.empty() && record.front() == '"';
    if (opened)
        record.remove_prefix(1);
    std::string path = TrimPadding(record);
    if (opened && !path.empty() && path.back() == '"')
        path.pop_back();
    return path;
}

} // namespace lt
