// Probe commands for the settings panel, the registry and the shell's way of
// opening a registered file.
#pragma once
#include <string>
#include <vector>

namespace lt::probe {

// Runs the command when it is one of these; false when the name is not ours.
bool RunSettingsCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode);

} // namespace lt::probe
