// Input as a user makes it, and what the program holds, for ltprobe.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt::probe {

// Makes w's top-level window the foreground one and w the focus, then types
// each key as real key presses (SendInput): "ctrl+o", "shift+f10", "apps",
// "space", "enter", "esc", "tab", "shift+tab", "up", "pageup", "f2", "+",
// "-", "a", "5"... Waits until w's thread has taken them. False with a reason.
bool TypeKeys(HWND w, const std::vector<std::wstring>& keys, std::string& error);

// Turns the wheel by `delta` (120 a notch) with the pointer at client (x, y)
// of w, holding Ctrl when `ctrl`; w's window is made the foreground first.
bool TurnWheel(HWND w, int x, int y, int delta, bool ctrl, std::string& error);

// The focused window of w's thread (0 when none).
HWND FocusOf(HWND w);

// "GDI USER": the GDI and USER objects of the process that owns w. Where
// the platform does not count them (Wine answers 0), GDI objects are counted
// in the process's GDI handle table and USER objects as its windows.
bool GuiObjects(HWND w, std::string& out, std::string& error);

// Shows a window of the probe's own with a text box, focused, for `ms`
// milliseconds: calls `ready` once it has the focus, and says at the end
// whether it kept the foreground and the focus the whole time.
std::string HoldFocus(DWORD ms, void (*ready)());

} // namespace lt::probe
