// Ctrl-C, SIGTERM and SIGHUP during a capture: noted, not fatal, so that the
// capture can stop between two steps and leave no partial file behind.
#pragma once

// Catches the three signals (a signal ignored from the start, as under
// nohup, stays ignored) and ignores SIGPIPE. No SA_RESTART: a write that
// waits on a pipe returns at the signal.
void CatchInterrupts();
// The signal that asked the capture to stop, 0 while none has.
int PendingInterrupt();
// "frosten-capture: interrupted" on stderr, and the exit status of the
// signal (128 + its number). Clean up first.
[[noreturn]] void ExitInterrupted();
