#include "music/player_menu.h"

#include "dialogs/popup_menu.h"

namespace lt {

namespace {

constexpr UINT Id(PlayerCommand c)
{
    return static_cast<UINT>(c);
}

constexpr PopupItem Items[] = {
    {Id(PlayerCommand::Play), "再生(&P)"},
    {Id(PlayerCommand::Stop), "停止(&S)"},
    {0, nullptr},
    {Id(PlayerCommand::Min), "最小化(&M)"},
    {Id(PlayerCommand::Exit), "終了(&E)"},
    {0, nullptr},
    {Id(PlayerCommand::TagEditor), "タグ編集(&T)"},
};

} // namespace

PlayerCommand PopPlayerMenu(HWND owner, const POINT* at)
{
    return static_cast<PlayerCommand>(at ? PopMenuAt(owner, Items, *at) : PopMenuAtPointer(owner, Items));
}

} // namespace lt
