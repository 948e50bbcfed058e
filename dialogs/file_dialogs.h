// Asking the user for a file to open or a name to save under, with the
// settings the whole program uses. Names are Shift-JIS byte strings.
#pragma once
#include <windows.h>

#include <string>

#include "dialogs/cdl_class.h"

namespace lt {

// True when a file was chosen; fileName then holds it. On cancel fileName is
// left as it was. An empty fileName opens the dialog in the program's folder.
bool AskOpenFile(HWND owner, std::string& fileName, const std::string& filter);

// The same for saving; defaultExt goes to the dialog as it is.
bool AskSaveFile(HWND owner, std::string& fileName, const std::string& filter, const std::string& defaultExt);

// The same two over other platform calls (tests).
bool AskOpenFile(HWND owner, std::string& fileName, const std::string& filter, const DialogPlatform& platform);
bool AskSaveFile(HWND owner, std::string& fileName, const std::string& filter, const std::string& defaultExt,
                 const DialogPlatform& platform);

// Folder of the running program, without a trailing "\" unless it is a root.
std::string ProgramFolder();

} // namespace lt
