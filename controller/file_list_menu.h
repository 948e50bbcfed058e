// The file list's popup menu (open, folder, remove, clear, save list, exit).
#pragma once
#include <windows.h>

namespace lt {

enum class FileListCommand { None, Open, Folder, Close, Clear, List, Exit };

// Pops the menu up at the pointer, or with its corner at `at` (screen), and
// returns the chosen item.
FileListCommand PopFileListMenu(HWND owner, const POINT* at = nullptr);

} // namespace lt
