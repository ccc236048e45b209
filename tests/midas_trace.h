// A tracing layer between the show and its sound library, linked in with
// the linker's --wrap (tests/music.cmake): every MIDAS call, every message
// box and every swapped frame is written as one line to a trace file, and
// one chosen call can be made to fail once.
#pragma once

// Lines go to this file (appended, flushed line by line); null stops tracing.
void TraceOpen(const char *path);
// The first call of this name (e.g. "MIDASstopModule") returns false or 0
// without reaching the library; the library's error message then reads
// "injected failure of NAME", or MESSAGE when one is given.
void TraceFailCall(const char *name, const char *message = nullptr);
// Writes one line of the test's own.
void TraceNote(const char *format, ...);
