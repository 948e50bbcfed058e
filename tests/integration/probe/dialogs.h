// Finding and driving the program's windows from outside: its popup menu and
// modal dialog boxes (file dialog, folder browser), the way a user works them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt::probe {

// Polls until ok() holds or the time is up: the other process gives no signal.
template <typename Pred> bool WaitUntil(DWORD timeoutMs, Pred ok)
{
    for (DWORD start = GetTickCount(); !ok(); Sleep(20))
        if (GetTickCount() - start >= timeoutMs)
            return false;
    return true;
}

// The visible popup menu (class "#32768") of the owner's process, or null.
HWND WaitPopupMenu(HWND owner, DWORD timeoutMs);
// Posts keys to an open menu: a number is a virtual key, anything else is
// typed as characters, so a mnemonic letter chooses its item.
bool PostMenuKeys(HWND menuWindow, const std::vector<std::wstring>& keys);
// A visible dialog box of the owner's process holding a child of the class
// (a file dialog's "Edit", the folder browser's "SysTreeView32"; null: any).
HWND WaitDialogWith(HWND owner, const wchar_t* childClass, DWORD timeoutMs);
HWND FileNameBox(HWND dialog);
// Asked of the control itself: for another process's window GetWindowText
// gives only the caption the window system keeps, which an edit never updates.
std::wstring ControlText(HWND control);
// The dialog's visible static texts, joined with " / ".
std::wstring StaticTexts(HWND dialog);
// Selects a folder (not a drive root) in the folder browser by its path; gives
// back the caption of the tree item then selected, the folder's name.
bool SelectFolderInBrowser(HWND browser, const std::wstring& path, std::wstring& selected, std::string& error);
bool PressAndWaitGone(HWND dialog, int button, DWORD timeoutMs);

} // namespace lt::probe
