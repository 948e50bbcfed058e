// Where the program keeps its files: computed once at start.
#pragma once
#include <string>
#include <string_view>

namespace lt {

struct AppPaths {
    std::string WindowsDir;   // no trailing backslash
    std::string HomeDir;      // where the three files below live
    std::string ProgramDir;   // with trailing backslash
    std::string ProgramFile;  // full path of the running .exe
    std::string SettingsFile; // home \Lumatrove.ini
    std::string QueueFile;    // home \LTDummy.ini
    std::string Mp3Library;   // home \ltmp3.dll
};

// The Windows folder, where other copies and earlier runs look first; the
// per-user folder (appData\Lumatrove) only when the Windows folder takes no
// new files, as on current Windows for a normal user. Every copy asks the
// same question of the same folder, so all of them agree.
std::string ChooseHome(std::string_view windowsDir, bool windowsDirWritable, std::string_view appDataDir);

// The paths of a run from the platform's answers (no trailing separator on
// windowsDir or homeDir needed either way).
AppPaths BuildAppPaths(std::string_view windowsDir, std::string_view programFile, std::string_view homeDir);

// Asks the platform; creates the per-user folder when it is the home.
AppPaths ComputeAppPaths();

// The paths of this run; set once by start-up.
const AppPaths& Paths();
void SetPaths(AppPaths paths);

} // namespace lt
