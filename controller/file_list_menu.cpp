#include "controller/file_list_menu.h"

namespace lt {

namespace {

struct MenuItem {
    FileListCommand Command;
    const char* Caption; // Shift-JIS; null for a separator
};

constexpr MenuItem Items[] = {
    {FileListCommand::Open, "\x93\xc7\x8d\x9e\x28\x26\x4f\x29"},                  // 読込(&O)
    {FileListCommand::Folder, "\xcc\xab\xd9\xc0\xde\x28\x26\x46\x29"},            // ﾌｫﾙﾀﾞ(&F)
    {FileListCommand::Close, "\xcc\xa7\xb2\xd9\x8f\xc1\x8b\x8e\x28\x26\x43\x29"}, // ﾌｧｲﾙ消去(&C)
    {FileListCommand::Clear, "\x91\x53\x8f\xc1\x8b\x8e\x28\x26\x41\x29"},         // 全消去(&A)
    {FileListCommand::List, "\xd8\xbd\xc4\x8f\x6f\x97\xcd\x28\x26\x4c\x29"},      // ﾘｽﾄ出力(&L)
    {FileListCommand::None, nullptr},
    {FileListCommand::Exit, "\x8f\x49\x97\xb9\x28\x41\x6c\x74\x2b\x46\x34\x29"}, // 終了(Alt+F4)
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
