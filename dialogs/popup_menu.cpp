#include "dialogs/popup_menu.h"

namespace lt {

UINT PopMenuAtPointer(HWND owner, std::span<const PopupItem> items)
{
    POINT at{};
    GetCursorPos(&at);
    return PopMenuAt(owner, items, at);
}

UINT PopMenuAt(HWND owner, std::span<const PopupItem> items, POINT at)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return 0;
    for (const PopupItem& item : items) {
        if (item.Caption)
            AppendMenuA(menu, MF_STRING, item.Id, item.Caption);
        else
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    // The owner must be in front, or the menu will not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                                       at.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}

} // namespace lt
