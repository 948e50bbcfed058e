#include "app/startup.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/media_router.h"
#include "controller/main_form.h"
#include "core/app_identity.h"
#include "core/app_paths.h"
#include "core/command_queue.h"
#include "core/command_queue_format.h"
#include "core/file_io.h"
#include "core/list_files.h"
#include "core/message_pump.h"
#include "core/settings_store.h"
#include "core/win_handles.h"
#include "music/midi_ports.h"
#include "music/mp3_library.h"
#include "resources/resource.h"

namespace lt {

namespace {

constexpr const char* InstanceMutexName = "Lumatrove.Controller.Running";

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One of our raw resources; empty when it cannot be found.
std::string_view ResourceBytes(const char* type, int id)
{
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    return bytes ? std::string_view(bytes, SizeofResource(nullptr, res)) : std::string_view();
}

// An admin may have put the settings in the Windows folder; a per-user home
// starts from them rather than from the defaults. Failures are not reported.
void PrepareSettings(const AppPaths& paths)
{
    if (Exists(paths.SettingsFile))
        return;
    const std::string shared = paths.WindowsDir + "\\Lumatrove.ini";
    if (paths.HomeDir == paths.WindowsDir || !CopyFileA(shared.c_str(), paths.SettingsFile.c_str(), TRUE)) {
        const std::string_view defaults = ResourceBytes("ini", IDR_DEFAULT_INI);
        if (!defaults.empty())
            PlaceFile(paths.SettingsFile, defaults, false); // another copy starting now may be first
    }
}

// The copy of the MP3 library at path is the one this program carries, put
// there when it is missing, of the other architecture (a 32-bit and a 64-bit
// build share the folder) or another version. False when it cannot be put
// there, for instance while a running copy of the other build has it loaded.
bool PlaceLibrary(const std::string& path, std::string_view image)
{
    return FileHolds(path, image) || PlaceFile(path, image, true);
}

// A folder of the temporary folder for this architecture's library, where no
// copy of the other build ever looks.
std::string TemporaryLibraryPath()
{
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::string dir = std::string(temp, n) + "Lumatrove";
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += sizeof(void*) == 8 ? "\\x64" : "\\x86";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\ltmp3.dll";
}

// The MP3 library is loaded from the home (the Windows folder, or the
// per-user folder when the Windows folder takes no files), made to hold this
// build's copy; a Windows folder that takes no files may still hold it. Only
// when neither serves is a copy put in the temporary folder.
bool LoadMp3Library()
{
    const AppPaths& paths = Paths();
    const std::string_view image = ResourceBytes("data", IDR_LTMP3_DLL);
    if (image.empty())
        return false;
    const std::string shared = paths.WindowsDir + "\\ltmp3.dll";
    if (shared != paths.Mp3Library && FileHolds(shared, image) && Mp3().Load({shared}))
        return true;
    if (PlaceLibrary(paths.Mp3Library, image) && Mp3().Load({paths.Mp3Library}))
        return true;
    const std::string temporary = TemporaryLibraryPath();
    return !temporary.empty() && PlaceLibrary(temporary, image) && Mp3().Load({temporary});
}

// Taking the mutex is the one step that two copies started at the same
// moment cannot both win: its owner runs the controller, every other copy
// hands over its paths and ends. Ownership ends with the owner's process, so
// a copy that ended (or crashed) leaves the mutex to the next start.
KernelHandle TakeInstanceMutex()
{
    KernelHandle m(CreateMutexA(nullptr, TRUE, InstanceMutexName));
    if (!m)
        return KernelHandle(); // the name is taken by something else: act as a copy
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return m;
    const DWORD wait = WaitForSingleObject(m.get(), 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
        return m;
    return KernelHandle();
}

// A queue file written before this process began is left over from a run
// that ended before draining it; one written since came from a copy that
// already counts on this one.
void DeleteLeftoverQueue(const std::string& queuePath)
{
    FILETIME created{}, exited{}, kernel{}, user{};
    WIN32_FILE_ATTRIBUTE_DATA queue{};
    if (!GetFileAttributesExA(queuePath.c_str(), GetFileExInfoStandard, &queue))
        return;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) &&
        CompareFileTime(&queue.ftLastWriteTime, &created) >= 0)
        return;
    DeleteFileA(queuePath.c_str());
}

// The running copy's window comes back, unless it lives hidden at the edge.
void BringBackRunningCopy()
{
    HWND w = FindWindowA(nullptr, ControllerTitle);
    if (!w || !IsWindowVisible(w))
        return;
    if (IsIconic(w))
        ShowWindow(w, SW_RESTORE);
    SetForegroundWindow(w);
}

int RunController(bool openSettings)
{
    LoadSettings(Paths().SettingsFile);
    EnumMidiDevices(); // before the controller, whose settings panel lists them
    InstallListReader();
    InstallMediaRouter();
    LoadMp3Library();
    MainForm form;
    if (!form.Create())
        return 1;
    form.ShowController();
    if (openSettings)
        form.LoadSettingForm();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchPumped(msg);
    return 0;
}

} // namespace

int Main()
{
    SetPaths(ComputeAppPaths());
    const AppPaths& paths = Paths();
    PrepareSettings(paths);

    const std::string args = ArgumentsOf(GetCommandLineA());

    MeasureScreen();

    // Held for the whole run by the copy that runs the controller.
    const KernelHandle instance = TakeInstanceMutex();
    const bool copyRunning = !instance;

    if (args.empty()) {
        if (copyRunning) {
            BringBackRunningCopy();
            return 0;
        }
        DeleteLeftoverQueue(paths.QueueFile);
        return RunController(false);
    }
    if (args == "/S")
        return copyRunning ? 0 : RunController(true);
    for (const std::string& piece : SplitPieces(args)) {
        if (!AppendToQueue(paths.QueueFile, piece)) {
            const std::string text = "ファイルを渡せませんでした。\r\n" + piece;
            MessageBoxA(nullptr, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
    }
    return copyRunning ? 0 : RunController(false);
}

} // namespace lt
