// Saving the file list as a list file and reading list files and M3U play
// lists into it.
#pragma once
#include <windows.h>

#include <string>

#include "core/file_table.h"
#include "dialogs/cdl_class.h"

namespace lt {

// Plugs the readers into the file list model; called once at start-up.
void InstallListReader();

// Asks for a file name (the last one saved is offered) and writes the list.
void SaveListFile(HWND owner);
// The same over other dialog calls (tests).
void SaveListFile(HWND owner, const DialogPlatform& platform);

// Writes the list file image of table to path. The old file at path stays
// untouched unless the whole new file could be written.
bool WriteListFile(const std::string& path, const FileTable& table);

} // namespace lt
