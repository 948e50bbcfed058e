// Hands each opened entry to the window that shows its kind.
#pragma once

namespace lt {

// Plugs the picture, music and movie windows into the file list.
void InstallMediaRouter();

} // namespace lt
