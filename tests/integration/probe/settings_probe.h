// Probe commands that drive the settings panel through its own controls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt::probe {

// Runs the command when it is one of these; false when the name is not ours.
bool RunSettingsCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode);
// panel-bench: prints the mean timings of the given rounds; 0 when the panel ends shown.
int PanelBench(HWND controller, HWND panel, int rounds);

} // namespace lt::probe
