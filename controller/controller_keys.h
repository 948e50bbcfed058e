// The controller's keys: which key does what where the focus is, and the
// tooltips that name them over the skin's buttons.
#pragma once
#include <span>

namespace lt {

enum class ControllerCommand {
    None,
    Activate,     // the selected entry, as a double click
    Remove,       // the selected entry, as the Close button
    Open,         // the open dialog, as the Open button
    Folder,       // a folder, as the Folder button
    Clear,        // the whole list, as the Clear button
    ShowSettings, // F2
    HideSettings, // F3
    FilterAll,
    FilterPicture,
    FilterMidi,
    FilterWave,
    FilterMovie,
    Pin,
    Quit,
};

// Where the key went: the list or the controller's own surface, or a box or
// button of the settings panel (which keeps its typing keys).
enum class KeyPlace { List, Panel };

struct KeyPress {
    unsigned Vk = 0;
    bool Ctrl = false, Shift = false, Alt = false;
};

ControllerCommand CommandForKey(const KeyPress& key, KeyPlace place);

// A tooltip over a part of the skin (client pixels, edges inclusive).
struct SkinTip {
    int Left, Top, Right, Bottom;
    ControllerCommand Command;
    const char* Text; // names the key
};
std::span<const SkinTip> SkinTips();

} // namespace lt
