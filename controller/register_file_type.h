// The panel's file-type buttons: registration in the real registry.
#pragma once
#include <windows.h>

namespace lt {

// Registers file type `index` (0 to 5) for this program and tells the user
// how it went.
void ComExt(HWND owner, int index);

} // namespace lt
