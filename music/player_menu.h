// The player's popup menu.
#pragma once
#include <windows.h>

namespace lt {

enum class PlayerCommand { None, Play, Stop, Min, Exit, TagEditor };

// Pops the menu up at the pointer, or with its corner at `at` (screen), and
// returns the chosen item.
PlayerCommand PopPlayerMenu(HWND owner, const POINT* at = nullptr);

} // namespace lt
