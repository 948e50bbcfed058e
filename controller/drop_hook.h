// Files dropped from the shell onto the list. The list box is the window
// registered with DragAcceptFiles, so its procedure is the one replaced.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt {

// Sent to the controller when the list box sees a right-button press or a
// key the controller handles (wParam: the virtual key).
inline constexpr UINT WM_LT_LISTMENU = WM_APP + 1;
inline constexpr UINT WM_LT_LISTKEY = WM_APP + 2;

bool HookWindow(HWND window);
bool UnhookWindow();
LRESULT CALLBACK DropWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The dropped paths in the shell's order, whole however long they are.
std::vector<std::string> DroppedPaths(HDROP drop);

// Adds each dropped file, letting messages run between files.
void HandleDrop(HDROP drop);

// Adds the records of a drained command queue (quotes and padding taken off)
// with one list rebuild at the end.
void AddQueuedFiles(std::vector<std::string> records);

} // namespace lt
