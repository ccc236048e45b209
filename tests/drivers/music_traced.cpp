// The show with its sound library, message boxes, screen-saver switch and
// frames traced (tests/midas_trace.h), one line each, to the file named by
// MUSIC_TRACE; MUSIC_FAIL names a library call that is made to fail once.
// The end-to-end scripts start it in place of the show.
#include "core/program.h"
#include "tests/midas_trace.h"

#include <cstdlib>

static void NoteLastExitProcedure() { TraceNote("last exit procedure"); }

int main(int argc, char **argv) {
  ProgramArgc = argc;
  ProgramArgv = argv;
  TraceOpen(getenv("MUSIC_TRACE"));
  if (getenv("MUSIC_FAIL")) TraceFailCall(getenv("MUSIC_FAIL"));
  // Registered before the show's own: it runs after all of them.
  RegisterExitProcedure(NoteLastExitProcedure);
  StartProgram();
}
