#include "core/startup.h"

#include <windows.h>

#include "controller/main_form.h"
#include "controller/media_router.h"
#include "core/app_paths.h"
#include "core/command_queue.h"
#include "core/command_queue_format.h"
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

// Writes one of our raw resources to a file; failures are not reported.
bool WriteResource(const char* type, int id, const std::string& path)
{
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    DWORD size = res ? SizeofResource(nullptr, res) : 0;
    if (!bytes)
        return false;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD put = 0;
    bool ok = WriteFile(file.get(), bytes, size, &put, nullptr) && put == size;
    file.reset();
    if (!ok)
        DeleteFileA(path.c_str());
    return ok;
}

// The MP3 library is loaded from the Windows folder, else from beside the
// program. The Windows folder may not be writable; only then is a copy
// extracted to the temporary folder and loaded from there.
bool LoadMp3Library()
{
    if (Mp3().Load({Paths().Mp3Library, Paths().ProgramDir + "ltmp3.dll"}))
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

bool CopyRunning()
{
    if (HANDLE m = OpenMutexA(SYNCHRONIZE, FALSE, InstanceMutexName)) {
        CloseHandle(m);
        return true;
    }
    return FindWindowA(nullptr, ControllerTitle) != nullptr;
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
    // Held for the whole run: the "a copy is running" indicator.
    KernelHandle instance(CreateMutexA(nullptr, FALSE, InstanceMutexName));
    LoadSettings(Paths().SettingsFile);
    EnumMidiDevices();
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
    if (!Exists(paths.SettingsFile))
        WriteResource("ini", IDR_DEFAULT_INI, paths.SettingsFile);
    if (!Exists(paths.Mp3Library))
        WriteResource("data", IDR_LTMP3_DLL, paths.Mp3Library);

    const std::string args = ArgumentsOf(GetCommandLineA());

    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    g_twips = {1440.0 / (dpiX > 0 ? dpiX : 96), 1440.0 / (dpiY > 0 ? dpiY : 96)};
    g_uiFontSize = static_cast<float>(9.0 * g_twips.X / 15.0);

    if (args.empty()) {
        if (CopyRunning()) {
            BringBackRunningCopy();
            return 0;
        }
        DeleteFileA(paths.QueueFile.c_str());
        return RunController(false);
    }
    if (args == "/S") {
        if (CopyRunning())
            return 0;
        return RunController(true);
    }
    for (const std::string& piece : SplitPieces(args)) {
        if (!AppendToQueue(paths.QueueFile, piece)) {
            std::string text = "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x93\x6e\x82\xb9\x82\xdc\x82\xb9\x82\xf1"
                               "\x82\xc5\x82\xb5\x82\xbd\x81\x42\r\n"; // "ファイルを渡せませんでした。"
            text += piece;
            MessageBoxA(nullptr, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
    }
    if (CopyRunning())
        return 0;
    return RunController(false);
}

} // namespace lt
