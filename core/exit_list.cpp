// The exit list: procedures run last to first, each exactly once, also when
// one of them ends the program again.
#include "core/exit_list.h"

#include <cstdio>
#include <cstdlib>

enum { MAX_EXIT_PROCEDURES = 16 };

static ExitProcedure ExitProcedures[MAX_EXIT_PROCEDURES];
static int ExitProcedureCount;

void RegisterExitProcedure(ExitProcedure procedure) {
  if (ExitProcedureCount < MAX_EXIT_PROCEDURES) ExitProcedures[ExitProcedureCount++] = procedure;
}

void RunExitProcedures() {
  // Take each procedure off the list before running it: a procedure that
  // calls EndProgram itself then continues with the ones below it.
  while (ExitProcedureCount > 0) {
    ExitProcedure procedure = ExitProcedures[--ExitProcedureCount];
    procedure();
  }
}

void EndProgram(int code) {
  RunExitProcedures();
  fflush(stdout);
  fflush(stderr);
  std::exit(code);
}

void EndProgramOnSignal(int signal) { EndProgram(128 + signal); }

static RunTimeErrorReportProc RunTimeErrorReport;

void SetRunTimeErrorReport(RunTimeErrorReportProc report) { RunTimeErrorReport = report; }

void RunTimeError(int code) {
  RunExitProcedures();
  if (RunTimeErrorReport) RunTimeErrorReport(code);
  else fprintf(stderr, "Runtime error %d\n", code);
  fflush(stdout);
  fflush(stderr);
  std::exit(code);
}

void *CheckedMemory(void *p, const char *task) {
  if (!p) {
    fprintf(stderr, "out of memory while %s\n", task);
    abort();
  }
  return p;
}
