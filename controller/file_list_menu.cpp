#include "controller/file_list_menu.h"

namespace lt {

namespace {

struct MenuItem {
    FileListCommand Command;
    const char* Caption; // null for a separator
};

constexpr MenuItem Items[] = {
    {FileListCommand::Open, "読込(&O)"},
    {FileListCommand::Folder, "ﾌｫﾙﾀﾞ(&F)"},
    {FileListCommand::Close, "ﾌｧｲﾙ消去(&C)"},
    {FileListCommand::Clear, "全消去(&A)"},
    {FileListCommand::List, "ﾘｽﾄ出力(&L)"},
    {FileListCommand::None, nullptr},
    {FileListCommand::Exit, "終了(Alt+F4)"},
};

} // namespace

FileListCommand PopFileListMenu(HWND owner)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return FileListCommand::None;
    for (const MenuItem& item : Items) {
        if (item.Caption)
            AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.Command), item.Caption);
        else
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    POINT at{};
    GetCursorPos(&at);
    // The owner must be in front, or the menu will not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    UINT chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0,
                                 owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return static_cast<FileListCommand>(chosen);
}

} // namespace lt
