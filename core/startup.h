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

// The screen's twips per pixel (15 at 96 dots per inch), read once at start.
struct TwipsPerPixel {
    double X = 15.0, Y = 15.0;
};
TwipsPerPixel ScreenTwipsPerPixel();

} // namespace lt
