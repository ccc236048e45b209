// The exit list and the ends of the program: the one header of core/ that
// every layer may include. The run-time error report itself is shown by the
// procedure the start-up installs; without one the report is a line on stderr.
#pragma once

typedef void (*ExitProcedure)();

// Appends a procedure to the exit list.
void RegisterExitProcedure(ExitProcedure procedure);
// Runs the exit procedures not yet run, last registered first, each once.
void RunExitProcedures();
// Runs the exit list and ends the process with the given code. Orderly ends
// use 0; an end after a reported failure uses 1.
[[noreturn]] void EndProgram(int code = 0);
// The end asked for by a signal (SIGINT, SIGTERM, SIGHUP, SIGQUIT): runs the
// exit list without showing a box (message boxes stay closed once a signal
// has arrived) and ends the process with 128 + the signal's number.
[[noreturn]] void EndProgramOnSignal(int signal);
// Runs the exit list, shows the "Runtime error" report and ends the process
// with the error code (2 missing file, 5 access denied, 100 short read).
[[noreturn]] void RunTimeError(int code);

// The one out-of-memory path: p when an allocation succeeded; otherwise a
// line on stderr naming the task ("out of memory while TASK") and abort,
// without the exit list, which could need memory itself.
void *CheckedMemory(void *p, const char *task);

// Shows the report of a run-time error; called by RunTimeError after the
// exit list, directly from it, so that its caller is the failing address.
typedef void (*RunTimeErrorReportProc)(int code);
// Installs the report; nullptr restores the line on stderr.
void SetRunTimeErrorReport(RunTimeErrorReportProc report);
