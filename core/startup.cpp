#include "core/startup.h"

#include <windows.h>

#include <string>
#include <vector>

#include "controller/main_form.h"
#include "controller/media_router.h"
#include "core/app_paths.h"
#include "core/command_queue.h"
#include "core/command_queue_format.h"
#include "core/file_io.h"
#include "core/list_files.h"
#include "core/settings_store.h"
#include "core/win_handles.h"
#include "music/midi_ports.h"
#include "music/mp3_library.h"
#include "resources/resource.h"

namespace lt {

namespace {

constexpr const char* InstanceMutexName = "Lumatrove.Controller.Running";
float g_uiFontSize = 9.0f;
TwipsPerPixel g_twips;

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes one of our raw resources to a new file. It is written under a
// name of its own and then renamed, so another copy starting at the same
// moment never loads or reads half a file. Failures are not reported.
bool WriteResource(const char* type, int id, const std::string& path)
{
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    const DWORD size = res ? SizeofResource(nullptr, res) : 0;
    if (!bytes)
        return false;
    const std::string temp = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    bool ok = WriteBytes(file.get(), std::string_view(bytes, size));
    file.reset();
    ok = ok && MoveFileA(temp.c_str(), path.c_str()); // fails when another copy was first
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}

// An admin may have put the settings in the Windows folder; a per-user home
// starts from them rather than from the defaults.
void PrepareHome(const AppPaths& paths)
{
    if (!Exists(paths.SettingsFile)) {
        const std::string shared = paths.WindowsDir + "\\Lumatrove.ini";
        if (paths.HomeDir == paths.WindowsDir || !CopyFileA(shared.c_str(), paths.SettingsFile.c_str(), TRUE))
            WriteResource("ini", IDR_DEFAULT_INI, paths.SettingsFile);
    }
    if (!Exists(paths.Mp3Library))
        WriteResource("data", IDR_LTMP3_DLL, paths.Mp3Library);
}

// The MP3 library is loaded from the Windows folder, else from the home (the
// per-user folder when the Windows folder takes no files), else from beside
// the program. Only when all fail is a copy extracted to the temporary folder.
bool LoadMp3Library()
{
    const AppPaths& paths = Paths();
    std::vector<std::string> candidates{paths.WindowsDir + "\\ltmp3.dll"};
    if (paths.Mp3Library != candidates.front())
        candidates.push_back(paths.Mp3Library);
    candidates.push_back(paths.ProgramDir + "ltmp3.dll");
    if (Mp3().Load(candidates))
        return true;
    char temp[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, temp))
        return false;
    std::string dir = std::string(temp) + "Lumatrove";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string extracted = dir + "\\ltmp3.dll";
    if (!Exists(extracted))
        WriteResource("data", IDR_LTMP3_DLL, extracted);
    return Mp3().Load({extracted});
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
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace

float UiFontSize()
{
    return g_uiFontSize;
}

TwipsPerPixel ScreenTwipsPerPixel()
{
    return g_twips;
}

int Main()
{
    SetPaths(ComputeAppPaths());
    const AppPaths& paths = Paths();
    PrepareHome(paths);

    const std::string args = ArgumentsOf(GetCommandLineA());

    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    g_twips = {1440.0 / (dpiX > 0 ? dpiX : 96), 1440.0 / (dpiY > 0 ? dpiY : 96)};
    g_uiFontSize = static_cast<float>(9.0 * g_twips.X / 15.0);

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
