#include "dialogs/file_dialogs.h"

#include "dialogs/file_dialog_rules.h"

namespace lt {
namespace {

// Hide the read-only box; leave the current directory alone.
constexpr std::uint32_t AskFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
static_assert(AskFlags == 12);

enum class Ask { Open, Save };

bool AskFile(Ask ask, HWND owner, std::string& fileName, const std::string& filter, const std::string& defaultExt,
             const DialogPlatform& platform)
{
    CdlClass dialog(platform);
    dialog.CancelError = true;
    dialog.hWnd = owner;
    dialog.FileName = fileName;
    dialog.DefaultExt = defaultExt;
    if (fileName.empty())
        dialog.InitDir = ProgramFolder();
    dialog.Filter = filter;
    // Also: a file to open must exist, and a file to save over is asked about.
    dialog.Flags = AskFlags | (ask == Ask::Open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);

    const DialogResult result = ask == Ask::Open ? dialog.ShowOpen() : dialog.ShowSave();
    // A failed read-back has already been reported; its half-read name is
    // not worth opening or writing to.
    if (result != DialogResult::Chosen)
        return false;
    fileName = dialog.FileName;
    return true;
}

} // namespace

std::string ProgramFolder()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2); // truncated: try a bigger buffer
    }
    std::string folder = FolderPart(path);
    if (!folder.empty() && folder.back() == ':')
        folder += '\\'; // "C:" alone would mean the drive's current folder
    return folder;
}

bool AskOpenFile(HWND owner, std::string& fileName, const std::string& filter)
{
    return AskFile(Ask::Open, owner, fileName, filter, {}, DialogPlatform{});
}

bool AskSaveFile(HWND owner, std::string& fileName, const std::string& filter, const std::string& defaultExt)
{
    return AskFile(Ask::Save, owner, fileName, filter, defaultExt, DialogPlatform{});
}

bool AskOpenFile(HWND owner, std::string& fileName, const std::string& filter, const DialogPlatform& platform)
{
    return AskFile(Ask::Open, owner, fileName, filter, {}, platform);
}

bool AskSaveFile(HWND owner, std::string& fileName, const std::string& filter, const std::string& defaultExt,
                 const DialogPlatform& platform)
{
    return AskFile(Ask::Save, owner, fileName, filter, defaultExt, platform);
}

} // namespace lt
