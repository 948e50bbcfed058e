#include "core/app_paths.h"

#include "core/path_rules.h"

namespace lt {

std::string ChooseHome(std::string_view windowsDir, bool windowsDirWritable, std::string_view appDataDir)
{
    if (windowsDirWritable || appDataDir.empty())
        return WithoutTrailingSeparators(windowsDir);
    return WithTrailingSeparator(appDataDir) + "Lumatrove";
}

AppPaths BuildAppPaths(std::string_view windowsDir, std::string_view programFile, std::string_view homeDir)
{
    AppPaths p;
    p.WindowsDir = WithoutTrailingSeparators(windowsDir);
    p.HomeDir = WithoutTrailingSeparators(homeDir);
    p.ProgramFile = programFile;
    p.ProgramDir = WithTrailingSeparator(FolderPrefix(programFile));
    const std::string home = WithTrailingSeparator(p.HomeDir);
    p.SettingsFile = home + "Lumatrove.ini";
    p.QueueFile = home + "LTDummy.ini";
    p.Mp3Library = home + "ltmp3.dll";
    return p;
}

} // namespace lt
