#include "core/app_paths.h"

#include <windows.h>

#include <shlobj.h>

#include "core/path_rules.h"
#include "core/text_rules.h"
#include "core/win_handles.h"

namespace lt {

namespace {

AppPaths g_paths;

// A file of this process's own name is created in dir and removed again at
// once: the only sure test that the folder takes new files (its attributes
// and access lists do not tell).
bool TakesNewFiles(const std::string& dir)
{
    char name[40];
    wsprintfA(name, "LT%08lX%08lX.tmp", GetCurrentProcessId(), GetTickCount());
    const std::string probe = WithTrailingSeparator(dir) + name;
    FileHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                nullptr));
    return static_cast<bool>(file);
}

std::string AppDataDir()
{
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return CutAtNul(std::string_view(path, sizeof path));
}

} // namespace

AppPaths ComputeAppPaths()
{
    char windir[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(windir, MAX_PATH);
    const std::string windowsDir = TrimPadding(std::string_view(windir, n < MAX_PATH ? n : 0));

    char exe[MAX_PATH] = {};
    const DWORD len = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string programFile(exe, len < MAX_PATH ? len : 0);

    const bool writable = TakesNewFiles(windowsDir);
    std::string home = ChooseHome(windowsDir, writable, writable ? std::string() : AppDataDir());
    if (!writable && CreateDirectoryA(home.c_str(), nullptr) == 0 && GetLastError() != ERROR_ALREADY_EXISTS)
        home = windowsDir; // nowhere better: the files fail where they always did
    return BuildAppPaths(windowsDir, programFile, home);
}

const AppPaths& Paths()
{
    return g_paths;
}
void SetPaths(AppPaths paths)
{
    g_paths = std::move(paths);
}

} // namespace lt
