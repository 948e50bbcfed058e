// Probe commands for the picture windows.
#pragma once
#include <string>
#include <vector>

namespace lt::probe {

// Runs a picture window command; false when name is not one of them.
// code is the exit status.
bool RunViewerCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& code);

} // namespace lt::probe
