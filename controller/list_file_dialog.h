// The save-list step of the controller: asks for a list file name and writes
// the file list there.
#pragma once
#include <windows.h>

#include "dialogs/cdl_class.h"

namespace lt {

// Asks for a file name (the last one saved is offered) and writes the list.
void SaveListFile(HWND owner);
// The same over other dialog calls (tests).
void SaveListFile(HWND owner, const DialogPlatform& platform);

} // namespace lt
