// Hands files to a window the way the shell's drag and drop does.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt::probe {

// Sends WM_DROPFILES with the given paths (ANSI names, fWide false) to the
// window and waits up to timeoutMs for it to be handled; false with a reason
// when the drop could not be made.
bool DropFiles(HWND target, const std::vector<std::wstring>& paths, std::string& error, DWORD timeoutMs = 60000);

} // namespace lt::probe
