// The command queue file between copies of the program. Both sides open it
// exclusively; that open is the only synchronisation between them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lt {

// Appends one path, retrying (with messages running) while the other copy
// holds the file. False when the file stayed unavailable.
bool AppendToQueue(const std::string& queuePath, std::string_view piece);

enum class DrainResult { NoFile, Busy, Drained };

// Takes every queued path and removes the file while still holding it, so a
// record appended meanwhile lands in a new file instead of being lost.
// Busy: the file existed but could not be opened within a few tries.
DrainResult DrainQueue(const std::string& queuePath, std::vector<std::string>& paths);

} // namespace lt
