// Where the program keeps its files: computed once at start.
#pragma once
#include <string>

namespace lt {

struct AppPaths {
    std::string WindowsDir;   // no trailing backslash
    std::string ProgramDir;   // with trailing backslash
    std::string ProgramFile;  // full path of the running .exe
    std::string SettingsFile; // Windows folder \Lumatrove.ini
    std::string QueueFile;    // Windows folder \LTDummy.ini
    std::string Mp3Library;   // Windows folder \ltmp3.dll
};

AppPaths ComputeAppPaths();

// The paths of this run; set once by start-up.
const AppPaths& Paths();
void SetPaths(AppPaths paths);

} // namespace lt
