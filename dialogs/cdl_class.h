// The platform's open and save dialogs behind a small property object: set the
// properties, call ShowOpen or ShowSave, read the choice back from the same
// object. Every property starts empty or zero.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace lt {

enum class DialogResult {
    Chosen,    // the user chose; FileName and the rest hold the choice
    Cancelled, // closed without a choice while CancelError is set (error 32755)
    Failed,    // reading the choice back failed; the user has been told
    NoChoice,  // nothing chosen and no error asked for; properties unchanged
};

// The platform calls behind the dialogs; tests put their own in place.
struct DialogPlatform {
    std::function<BOOL(OPENFILENAMEA*)> Open = GetOpenFileNameA;
    std::function<BOOL(OPENFILENAMEA*)> Save = GetSaveFileNameA;
    std::function<void(HWND owner, const std::string& text)> ReportFailure;
};

class CdlClass {
public:
    CdlClass() = default;
    explicit CdlClass(DialogPlatform platform) : platform_(std::move(platform)) {}

    HWND hWnd = nullptr;          // owner of the dialog
    std::string Filter;           // "Text(*.txt)|*.txt|All(*.*)|*.*"
    std::int16_t FilterIndex = 0; // 1-based pair selected at first
    std::string FileName;         // in: initial name; out: the choice
    std::string FileTitle;        // out: name without folder (single choice)
    std::string DefaultExt;
    std::string DialogTitle; // empty: the platform's caption
    std::string InitDir;
    std::uint32_t Flags = 0;      // OFN_ bits
    std::int32_t MaxFileSize = 0; // file-name buffer in characters
    bool CancelError = false;     // report a cancel as Cancelled

    const std::string& DirectoryName() const { return directoryName_; }
    std::uint32_t ExtendedError() const { return extendedError_; }

    DialogResult ShowOpen() { return Show(Mode::Open); }
    DialogResult ShowSave() { return Show(Mode::Save); }

private:
    enum class Mode { Open, Save };
    DialogResult Show(Mode mode);

    DialogPlatform platform_;
    std::string directoryName_;
    std::uint32_t extendedError_ = 0;
};

// NUL on the NT family, a space on the others: what pads the buffers handed
// to the dialog.
char DialogTerminator();

// The entry's own name as FindFirstFileA finds it, or nothing.
std::optional<std::string> FindLongName(const std::string& path);

} // namespace lt
