// Hit areas and overlay positions of the controller's skin, in client pixels
// (edges inclusive).
#pragma once
#include <array>
#include <cstdint>

namespace lt {

inline constexpr int ControllerWidth = 357;
inline constexpr int ControllerHeight = 209;
inline constexpr int ButtonCount = 6;
inline constexpr int ButtonWidth = 59;
inline constexpr int ButtonHeight = 17;
inline constexpr int MarkerSize = 15;
inline constexpr int MarkerY = 190;
inline constexpr int TackSize = 21;
inline constexpr int TackX = 320;
inline constexpr int TackY = 184;

struct ListBoxRect {
    static constexpr int Left = 8, Top = 32, Width = 337, Height = 134;
};

enum class ButtonId { Open = 0, Folder = 1, Close = 2, Clear = 3, Option = 4, Quit = 5 };

constexpr int ButtonX(int i)
{
    return 2 + ButtonWidth * i;
}
inline constexpr int ButtonY = 2;

using PressedFlags = std::array<bool, ButtonCount>;

struct PressHit {
    enum class Target { Filter, Button, Pin } What;
    int Button = -1;         // for Button
    std::int16_t Filter = 0; // for Filter
};

// What a press at (x, y) does; the first matching rule wins.
PressHit HitPress(int x, int y);

// The pressed button whose release area holds (x, y), or -1.
int HitRelease(int x, int y, const PressedFlags& pressed);

// Where the filter marker is drawn for a kind filter value.
int FilterMarkerX(std::int16_t filter);

} // namespace lt
