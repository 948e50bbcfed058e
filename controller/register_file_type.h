// The panel's file-type buttons: registration in the real registry.
#pragma once
#include <windows.h>

namespace lt {

// Registers file type `index` (0 to 5) for this program and tells the user
// how it went. A program path the shell could not be given is refused.
void ComExt(HWND owner, int index);

// Puts back what the registrations changed, for every type, and tells the
// user whether there was anything to put back.
void UnregisterFileTypes(HWND owner);

} // namespace lt
