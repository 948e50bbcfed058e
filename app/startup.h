// Start-up, the single-instance hand-over and the wiring of the windows.
#pragma once

namespace lt {

// The program's entry: returns the process exit code.
int Main();

} // namespace lt
