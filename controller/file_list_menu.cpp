#include "controller/file_list_menu.h"

#include "dialogs/popup_menu.h"

namespace lt {

namespace {

constexpr UINT Id(FileListCommand c)
{
    return static_cast<UINT>(c);
}

constexpr PopupItem Items[] = {
    {Id(FileListCommand::Open), "読込(&O)"},
    {Id(FileListCommand::Folder), "ﾌｫﾙﾀﾞ(&F)"},
    {Id(FileListCommand::Close), "ﾌｧｲﾙ消去(&C)"},
    {Id(FileListCommand::Clear), "全消去(&A)"},
    {Id(FileListCommand::List), "ﾘｽﾄ出力(&L)"},
    {0, nullptr},
    {Id(FileListCommand::Exit), "終了(Alt+F4)"},
};

} // namespace

FileListCommand PopFileListMenu(HWND owner, const POINT* at)
{
    return static_cast<FileListCommand>(at ? PopMenuAt(owner, Items, *at) : PopMenuAtPointer(owner, Items));
}

} // namespace lt
