// Probe commands for the music player and its tag editor.
#pragma once
#include <string>
#include <vector>

namespace lt::probe {

// Runs the command when it is one of the player's; false when it is not.
bool RunPlayerCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode);

} // namespace lt::probe
