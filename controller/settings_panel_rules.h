// The settings panel's layout and decisions, in panel pixels (edges inclusive).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lt {

inline constexpr int PanelTop = 19;
inline constexpr int PanelWidth = 357;
inline constexpr int PanelHeight = 190; // down to the controller's last row

// The texts printed on the panel's background.
struct PanelCaption {
    int X, Y;
    const char* Text;
};
const std::array<PanelCaption, 17>& PanelCaptions();

// The controller's own size as the panel prints it.
inline constexpr const char* ControllerSizeText = "357 × 209";
inline constexpr int ScreenSizeX = 84, ScreenSizeY = 8, ControllerSizeX = 84, ControllerSizeY = 24;

// "1024 × 768"
std::string ScreenSizeText(int width, int height);

// The start-up option images: 16 x 16 each, drawn from the strip of four.
inline constexpr int OptionImageSize = 16;
inline constexpr int ShowOptionX = 60, HideOptionX = 112, OptionY = 40;
enum class StartOption { None, Show, Hide };
// Which option's area (x 60-100 or 112-164, y 42-54) holds the point.
StartOption HitStartOption(int x, int y);
// Image n of the strip: bit 0 selected, bit 1 pressed.
int OptionImage(bool selected, bool pressed);

// Appearance position and trigger rectangle as the six boxes hold them.
struct PositionPreset {
    std::int32_t X, Y, Up, Down, Left, Right;
    friend bool operator==(const PositionPreset&, const PositionPreset&) = default;
};
// Preset 1 to 6 (左上 上 右上 / 左下 下 右下) for a screen of width x height pixels.
PositionPreset Preset(int index, int width, int height);

struct PresetButton {
    int X, Y;
    const char* Caption;
};
const std::array<PresetButton, 6>& PresetButtons();

// The port list's selection for a stored MidiDevice: -1 for none.
int MidiSelection(int midiDevice, int entries);

} // namespace lt
