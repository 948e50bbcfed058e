#include "music/player_menu.h"

namespace lt {

namespace {

struct MenuItem {
    PlayerCommand Command;
    const char* Caption; // null for a separator
};

constexpr MenuItem Items[] = {
    {PlayerCommand::Play, "再生(&P)"},
    {PlayerCommand::Stop, "停止(&S)"},
    {PlayerCommand::None, nullptr},
    {PlayerCommand::Min, "最小化(&M)"},
    {PlayerCommand::Exit, "終了(&E)"},
    {PlayerCommand::None, nullptr},
    {PlayerCommand::TagEditor, "タグ編集(&T)"},
};

} // namespace

PlayerCommand PopPlayerMenu(HWND owner)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return PlayerCommand::None;
    for (const MenuItem& item : Items) {
        if (item.Caption)
            AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.Command), item.Caption);
        else
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    POINT at{};
    GetCursorPos(&at);
    // The owner must be in front, or the menu does not close on a click elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                                       at.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return static_cast<PlayerCommand>(chosen);
}

} // namespace lt
