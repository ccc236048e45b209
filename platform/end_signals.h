// The signals that ask a program to end (SIGINT, SIGTERM, SIGHUP, SIGQUIT),
// caught as a flag and acted on at the next safe point of the main thread.
#pragma once

typedef void (*EndSignalHook)(int signal);

// Installs the handlers, except for signals that are ignored (nohup, a
// background job of a script): those stay ignored. The hook runs at the first safe point after one of
// the signals arrived and is expected not to return. A second signal before
// the program ended changes nothing (the end under way finishes, the desktop
// put back); a third ends it at once, the default way.
void CatchEndSignals(EndSignalHook hook);

// The signal that arrived, or 0.
int PendingEndSignal();

// A safe point: runs the hook when a signal has arrived (once; a hook that
// returns is not run again).
void CheckEndSignal();

// Waits for the user interface's events at most this many seconds, as
// Fl::wait does, but returns early when a signal arrives.
void WaitForEvents(double seconds);
