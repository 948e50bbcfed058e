#include "controller/settings_panel_rules.h"

#include <algorithm>

#include "core/text_rules.h"

namespace lt {

namespace {

constexpr int ControllerW = 357, ControllerH = 209;
// The top and bottom middle presets put the window's list, not its frame,
// in the screen's middle.
constexpr int CentreWidth = 313;
// The bottom middle preset triggers on a strip this high.
constexpr int BottomStrip = 5;

bool Inside(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

} // namespace

const std::array<PanelCaption, 17>& PanelCaptions()
{
    static const std::array<PanelCaption, 17> captions = {{
        {8, 8, "解像度"},
        {8, 24, "Lumatrove"},
        {8, 40, "起動時"},
        {8, 56, "Sample"},
        {8, 106, "Midi"},
        {8, 128, "関連付け"},
        {8, 164, "ﾃﾞﾊﾞｲｽｴﾗｰ回避"},
        {76, 42, "表示"},
        {128, 42, "非表示"},
        {208, 8, "出現位置(左上の座標)"},
        {200, 26, "X"},
        {272, 26, "Y"},
        {224, 64, "出現判定位置"},
        {232, 82, "上端"},
        {232, 130, "下端"},
        {200, 108, "左端"},
        {276, 108, "右端"},
    }};
    return captions;
}

std::string ScreenSizeText(int width, int height)
{
    return std::to_string(width) + " × " + std::to_string(height);
}

StartOption HitStartOption(int x, int y)
{
    if (!Inside(y, 42, 54))
        return StartOption::None;
    if (Inside(x, 60, 100))
        return StartOption::Show;
    if (Inside(x, 112, 164))
        return StartOption::Hide;
    return StartOption::None;
}

int OptionImage(bool selected, bool pressed)
{
    return (selected ? 1 : 0) + (pressed ? 2 : 0);
}

PositionPreset Preset(int index, int width, int height)
{
    const std::int32_t w = width, h = height;
    const auto c = static_cast<std::int32_t>(RoundHalfEven((width - CentreWidth) / 2.0));
    const std::int32_t right = w - ControllerW, bottom = h - ControllerH;
    switch (index) {
    case 1:
        return {0, 0, 0, 0, 0, ControllerW};
    case 2:
        return {c, 0, 0, 0, c, c + ControllerW};
    case 3:
        return {right, 0, 0, 0, right, w};
    case 4:
        return {0, bottom, bottom, h, 0, 0};
    case 5:
        return {c, bottom, h - BottomStrip, h, c, c + ControllerW};
    case 6:
        return {right, bottom, bottom, h, w - 1, w};
    default:
        return {};
    }
}

const std::array<PresetButton, 6>& PresetButtons()
{
    static const std::array<PresetButton, 6> buttons = {{
        {56, 62, "左上"},
        {96, 62, "上"},
        {136, 62, "右上"},
        {56, 82, "左下"},
        {96, 82, "下"},
        {136, 82, "右下"},
    }};
    return buttons;
}

int MidiSelection(int midiDevice, int entries)
{
    if (entries <= 0 || midiDevice < 0)
        return -1;
    return std::min(midiDevice, entries - 1);
}

} // namespace lt
