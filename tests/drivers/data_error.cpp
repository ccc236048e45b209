// Opens the show's window, then reads a data file that does not exist: the
// run-time error report follows the exit list. data_error FILE
#include "core/exit_list.h"
#include "launcher/display.h"
#include "platform/runtime_error.h"
#include "scene/datafile.h"

#include <cstdio>

static void SayGoodbye() { fprintf(stderr, "exit procedure ran\n"); }

int main(int argc, char **argv) {
  int one = 1;
  SetDisplayCommandLine(&one, argv);
  SetRunTimeErrorReport(ShowRunTimeError);
  OpenDisplay(320, 240, 32, false, 0);
  RegisterExitProcedure(SayGoodbye);
  DataFile file;
  OpenDataFile(file, argc > 1 ? argv[1] : "data\\missing.3ds");
  fprintf(stderr, "opened\n");
  return 0;
}
