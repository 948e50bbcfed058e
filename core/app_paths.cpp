#include "core/app_paths.h"

#include <windows.h>

#include "core/text_rules.h"

namespace lt {

namespace {
AppPaths g_paths;
}

AppPaths ComputeAppPaths()
{
    AppPaths p;
    char windir[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryA(windir, MAX_PATH);
    p.WindowsDir = TrimPadding(std::string_view(windir, n < MAX_PATH ? n : 0));
    while (!p.WindowsDir.empty() && p.WindowsDir.back() == '\\')
        p.WindowsDir.pop_back(); // "C:\" on odd setups

    char exe[MAX_PATH] = {};
    DWORD len = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    p.ProgramFile.assign(exe, len < MAX_PATH ? len : 0);
    auto slash = p.ProgramFile.find_last_of('\\');
    p.ProgramDir = slash == std::string::npos ? std::string() : p.ProgramFile.substr(0, slash + 1);
    if (p.ProgramDir.empty() || p.ProgramDir.back() != '\\')
        p.ProgramDir += '\\';

    p.SettingsFile = p.WindowsDir + "\\Lumatrove.ini";
    p.QueueFile = p.WindowsDir + "\\LTDummy.ini";
    p.Mp3Library = p.WindowsDir + "\\ltmp3.dll";
    return p;
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
