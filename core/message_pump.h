// The loops that let window messages run between their steps, and how they
// learn that the program is ending meanwhile.
#pragma once

namespace lt {

// Lets pending window messages run. False once the program is ending: the
// caller stops its loop there (whatever it held may be gone).
bool PumpMessages();

// True from the moment the program begins to end (RequestQuit, or a quit
// message met by a pump) for the rest of the run.
bool Quitting();

// Ends the message loop with exitCode; loops running inside handlers stop at
// their next step.
void RequestQuit(int exitCode);

// Forgets an earlier quit: each in-process test is a run of its own.
void ResetQuitting();

} // namespace lt
