// The program's popup menu and its modal dialog boxes (file dialog, folder
// browser), found and driven from outside the way a user would work them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt::probe {

// The visible popup menu window (class "#32768") of the process that owns
// `owner`, or null when none came within the time.
HWND WaitPopupMenu(HWND owner, DWORD timeoutMs);

// Posts keys to an open menu: a number is a virtual key (key down and up),
// anything else is typed as characters (WM_CHAR), so a mnemonic letter
// chooses its item.
bool PostMenuKeys(HWND menuWindow, const std::vector<std::wstring>& keys);

// A visible dialog box of the owner's process holding a child of the given
// class (a file dialog's name box is an "Edit", the folder browser's tree a
// "SysTreeView32"; null: any dialog box), or null when none came.
HWND WaitDialogWith(HWND owner, const wchar_t* childClass, DWORD timeoutMs);

// The file dialog's name box.
HWND FileNameBox(HWND dialog);

// A control's text, asked of the control itself: for a window of another
// process GetWindowText gives only the caption the window system keeps,
// which an edit control never updates.
std::wstring ControlText(HWND control);

// The dialog's static texts, joined with " / ".
std::wstring StaticTexts(HWND dialog);

// Selects a folder (not a drive root) in the folder browser by its path, as
// the browser's BFFM_SETSELECTION does; gives back the caption of the tree
// item that is then selected, which is the folder's name.
bool SelectFolderInBrowser(HWND browser, const std::wstring& path, std::wstring& selected, std::string& error);

// Presses a dialog button and waits until the dialog has gone.
bool PressAndWaitGone(HWND dialog, int button, DWORD timeoutMs);

} // namespace lt::probe
