// What every window of the program shares: its names, and the screen
// measures taken once at start.
#pragma once

namespace lt {

// The title of message boxes.
inline constexpr const char* AppTitle = "Lumatrove";

// The controller's window title, by which other copies find it.
inline constexpr const char* ControllerTitle = "Controller";

// The screen's twips per pixel (15 at 96 dots per inch).
struct TwipsPerPixel {
    double X = 15.0, Y = 15.0;
};

// Reads the screen's resolution; start-up calls it once.
void MeasureScreen();

TwipsPerPixel ScreenTwipsPerPixel();

// 9 × twips per pixel ÷ 15: 9 at 96 dots per inch; the controller, the
// settings panel and the player use it in points.
float UiFontSize();

} // namespace lt
