// Adding every file of one folder to the list.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lt {

// The shell's folder browser; the chosen file-system folder, or empty.
std::string BrowseForFolder(HWND owner);

// Plain files directly in folder (no sub-folders, hidden or system files), in
// the order the file system lists them, each as folder + name.
std::vector<std::string> FolderFiles(const std::string& folder);

// Adds them all with one list rebuild; the last MIDI file of the folder is
// the one that starts playing.
void AddFolderFiles(std::string folder);

} // namespace lt
