#include "dialogs/cdl_class.h"

#include <cstddef>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/win_handles.h"
#include "dialogs/file_dialog_rules.h"

namespace lt {
namespace {

// The record size of the version-4 dialogs; the larger current record would
// make older systems refuse the call. 76 bytes on 32-bit, 136 on 64-bit.
constexpr DWORD OpenFileNameSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(OpenFileNameSize == (sizeof(void*) == 4 ? 76 : 136));

constexpr const char* OutOfMemoryText = "メモリが不足しています。";

// Empty texts mean "not given": the dialog then uses its own caption, folder
// and no default extension.
LPCSTR OrNull(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

// A buffer of the filled characters plus a NUL after them, so the platform
// never writes past what it owns.
std::vector<char> PlatformBuffer(const std::string& filled)
{
    std::vector<char> buffer(filled.begin(), filled.end());
    buffer.push_back('\0');
    return buffer;
}

} // namespace

char DialogTerminator()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    GetVersionExA(&info);
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT ? '\0' : ' ';
}

std::optional<std::string> FindLongName(const std::string& path)
{
    WIN32_FIND_DATAA found{};
    FindHandle search(FindFirstFileA(path.c_str(), &found));
    if (!search)
        return std::nullopt;
    return std::string(found.cFileName, strnlen(found.cFileName, sizeof found.cFileName));
}

DialogResult CdlClass::Show(Mode mode)
{
    std::string failure;
    try {
        const char terminator = DialogTerminator();
        extendedError_ = 0;

        const std::string filter = PlatformFilter(Filter);
        const std::size_t length = FileBufferLength(MaxFileSize);
        auto fileBuffer = PlatformBuffer(FillFileBuffer(FileName, length, terminator));
        auto titleBuffer = PlatformBuffer(FillTitleBuffer(FileTitle, terminator));

        OPENFILENAMEA record{};
        record.lStructSize = OpenFileNameSize;
        record.hwndOwner = hWnd;
        record.lpstrFilter = filter.c_str();
        record.nFilterIndex = static_cast<DWORD>(static_cast<std::int32_t>(FilterIndex));
        record.lpstrFile = fileBuffer.data();
        record.nMaxFile = DialogMaxFile(Flags, length);
        record.lpstrFileTitle = titleBuffer.data();
        record.nMaxFileTitle = static_cast<DWORD>(TitleBufferLength);
        record.lpstrInitialDir = OrNull(InitDir);
        record.lpstrTitle = OrNull(DialogTitle);
        record.Flags = Flags;
        record.lpstrDefExt = OrNull(DefaultExt);

        const BOOL result = mode == Mode::Open ? platform_.Open(&record) : platform_.Save(&record);
        if (result == 0)
            return CancelError ? DialogResult::Cancelled : DialogResult::NoChoice;
        if (result != 1) {
            extendedError_ = CommDlgExtendedError();
            return DialogResult::NoChoice;
        }

        const auto chosen = ReadBackSelection(Flags, std::string_view(fileBuffer.data(), length),
                                              std::string_view(titleBuffer.data(), TitleBufferLength), FindLongName);
        // What was read before a failure stays assigned.
        if (chosen.FileName)
            FileName = *chosen.FileName;
        if (chosen.FileTitle)
            FileTitle = *chosen.FileTitle;
        if (chosen.DirectoryName)
            directoryName_ = *chosen.DirectoryName;
        if (!chosen.Failure)
            return DialogResult::Chosen;
        failure = *chosen.Failure;
    } catch (const std::bad_alloc&) {
        failure = OutOfMemoryText; // a huge MaxFileSize
    } catch (const std::length_error&) {
        failure = OutOfMemoryText;
    } catch (const std::exception& e) {
        failure = e.what();
    }

    if (platform_.ReportFailure)
        platform_.ReportFailure(hWnd, failure);
    else
        MessageBoxA(hWnd, failure.c_str(), "ShowFileDialog", MB_ICONEXCLAMATION | MB_OK);
    return DialogResult::Failed;
}

} // namespace lt
