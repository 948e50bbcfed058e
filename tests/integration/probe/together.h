// Starts several copies of a program at one moment, the way the shell starts
// one process per selected file.
#pragma once
#include <string>
#include <vector>

namespace lt::probe {

// Creates every process suspended and then lets all of them run at once;
// waits up to waitMs for all but one to end. Returns how many still run, or
// -1 with a reason when a process could not be started.
int StartTogether(const std::wstring& exe, const std::vector<std::wstring>& tails, unsigned waitMs,
                  std::string& error);

} // namespace lt::probe
