// A popup menu at the pointer, for the controller's and the player's menus.
#pragma once
#include <windows.h>

#include <span>

namespace lt {

struct PopupItem {
    UINT Id;
    const char* Caption; // null for a separator
};

// Shows the items at the pointer and returns the chosen id, 0 for none.
UINT PopMenuAtPointer(HWND owner, std::span<const PopupItem> items);
// The same with the menu's top left corner at a screen point.
UINT PopMenuAt(HWND owner, std::span<const PopupItem> items, POINT at);

} // namespace lt
