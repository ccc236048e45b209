// Start-up sequence, exit list, keyboard and the run-time error report.
#pragma once

typedef void (*ExitProcedure)();

extern int ProgramArgc;
extern char **ProgramArgv;

void StartProgram();
void KeyPressed(unsigned char key, int x, int y);

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
// The report text itself: "Runtime error C at 0xADDR" and the stack lines.
void FormatRunTimeError(char *out, int outSize, int code, void *const *stack, int depth);
