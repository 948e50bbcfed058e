// File existence and classification against the real file system.
#pragma once
#include <string>

#include "core/file_kind_rules.h"

namespace lt {

// A plain file that a default directory listing finds: hidden and system
// files and folders count as missing.
bool FileExists(const std::string& path);

// The kind of an existing file; 0 when it cannot be read.
FileKind GetFileKind(const std::string& path);

} // namespace lt
