// The loops that let window messages run between their steps, and how they
// learn that the program is ending meanwhile.
#pragma once

struct tagMSG;

namespace lt {

// A look at each message before our loops translate and dispatch it (a
// window's keys that work wherever its focus is, dialog keys of a panel):
// true when it took the message, which then goes no further.
using MessageFilter = bool (*)(tagMSG& msg);
void SetMessageFilter(MessageFilter filter);

// Translates and dispatches msg unless the filter takes it; every loop of
// the program goes through here.
void DispatchPumped(tagMSG& msg);

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
