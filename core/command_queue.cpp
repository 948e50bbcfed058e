#include "core/command_queue.h"

#include <windows.h>

#include <cstdint>
#include <new>

#include "core/command_queue_format.h"
#include "core/file_io.h"
#include "core/win_handles.h"

namespace lt {

namespace {

// About five seconds for a writer; a reader gives the tick up much sooner
// and tries again on the next one.
constexpr int WriterAttempts = 250;
constexpr int ReaderAttempts = 10;
constexpr DWORD RetryPauseMs = 20;

// A queue holds the paths of the starts since the last tick: a few, or at
// most some thousands. One larger than this is damaged; only its start is
// read, so memory stays bounded whatever the file holds.
constexpr DWORD MaxQueueBytes = 8u << 20;

// The file's first MaxQueueBytes; *whole false when there was more.
bool ReadStart(HANDLE file, std::vector<std::uint8_t>& out, bool* whole)
{
    std::string bytes;
    if (!ReadBytes(file, bytes, MaxQueueBytes, whole))
        return false;
    try {
        out.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool WriteAt(HANDLE file, std::size_t offset, const std::vector<std::uint8_t>& image, std::size_t count)
{
    if (SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    return WriteBytes(file, std::string_view(reinterpret_cast<const char*>(image.data()) + offset, count));
}

// The new record goes after the last whole one and the count is written
// last: a write cut short (a full disk) leaves the old count, so the reader
// still finds every earlier record whole and never the half one.
bool WriteRecord(HANDLE file, const std::vector<std::uint8_t>& image, std::size_t from)
{
    return WriteAt(file, from, image, image.size() - from) && SetEndOfFile(file) != 0 &&
           WriteAt(file, 0, image, 2);
}

} // namespace

bool AppendToQueue(const std::string& queuePath, std::string_view piece)
{
    for (int attempt = 0; attempt < WriterAttempts; ++attempt) {
        FileHandle file(CreateFileA(queuePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            PumpMessages();
            Sleep(RetryPauseMs);
            continue;
        }
        std::vector<std::uint8_t> image;
        bool whole = false;
        if (!ReadStart(file.get(), image, &whole) || !whole)
            return false;
        const std::size_t from = EndOfRecords(image).Offset;
        if (!AppendRecord(image, piece))
            return false;
        return WriteRecord(file.get(), image, from);
    }
    return false;
}

DrainResult DrainQueue(const std::string& queuePath, std::vector<std::string>& paths)
{
    if (GetFileAttributesA(queuePath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return DrainResult::NoFile;
    for (int attempt = 0; attempt < ReaderAttempts; ++attempt) {
        // Delete-on-close: the file goes away the moment we let go of it.
        FileHandle file(CreateFileA(queuePath.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!file) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND)
                return DrainResult::NoFile;
            if (!PumpMessages())
                return DrainResult::Busy; // the program is ending
            Sleep(RetryPauseMs);
            continue;
        }
        std::vector<std::uint8_t> image;
        ReadStart(file.get(), image, nullptr); // a damaged file still gets removed
        paths = ParseQueue(image);
        return DrainResult::Drained;
    }
    return DrainResult::Busy;
}

} // namespace lt
