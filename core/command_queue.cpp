#include "core/command_queue.h"

#include <windows.h>

#include <cstdint>

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

// A queue file is a few paths; one this large is damaged.
constexpr DWORD MaxQueueBytes = 64u << 20;

bool ReadAll(HANDLE file, std::vector<std::uint8_t>& out)
{
    std::string bytes;
    bool whole = false;
    if (!ReadBytes(file, bytes, MaxQueueBytes, &whole) || !whole)
        return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& data)
{
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    return WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data.data()), data.size())) &&
           SetEndOfFile(file) != 0;
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
        if (!ReadAll(file.get(), image))
            return false;
        if (!AppendRecord(image, piece))
            return false;
        return WriteAll(file.get(), image);
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
        ReadAll(file.get(), image); // a damaged file still gets removed
        paths = ParseQueue(image);
        return DrainResult::Drained;
    }
    return DrainResult::Busy;
}

} // namespace lt
