// Saving the file list as a list file and reading list files and M3U play
// lists into it.
#pragma once
#include <string>

#include "core/file_table.h"

namespace lt {

// Plugs the readers into the file list model; called once at start-up.
void InstallListReader();

// Writes the list file image of table to path. The old file at path stays
// untouched unless the whole new file could be written.
bool WriteListFile(const std::string& path, const FileTable& table);

} // namespace lt
