// Start-up and the single-instance hand-over.
#pragma once
#include <string>

namespace lt {

// The program's entry: returns the process exit code.
int Main();

// The title of message boxes.
inline constexpr const char* AppTitle = "Lumatrove";

// The controller's window title, by which other copies find it.
inline constexpr const char* ControllerTitle = "Controller";

// 9 at 96 dots per inch; the controller and the player use it in points.
float UiFontSize();

} // namespace lt
