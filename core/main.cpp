#include "core/program.h"
#include "platform/display_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char Usage[] =
    "usage: frosten\n"
    "Starts the Frosten show: a launcher window picks the display mode, then the\n"
    "show runs with its music until Escape. It reads data/ and mod/ in the\n"
    "working directory (the installed command changes into its data folder).\n"
    "It shows on the X display DISPLAY names.\n"
    "  -h, --help     prints this text\n"
    "  --version      prints the version\n";

// --help and --version, answered without a window; without an X display,
// one line and status 1. Every other argument goes to GLUT as before.
static void AnswerCommandLine(int argc, char **argv) {
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--help") || !strcmp(argv[i], "-h")) {
      fputs(Usage, stdout);
      exit(fflush(stdout) == 0 ? 0 : 1);
    }
    if (!strcmp(argv[i], "--version")) {
      printf("frosten %s\n", FROSTEN_VERSION);
      exit(fflush(stdout) == 0 ? 0 : 1);
    }
  }
  if (!XDisplayOpensQuietly(nullptr)) {
    const char *name = getenv("DISPLAY");
    fprintf(stderr, "frosten: cannot open the X display %s\n", name && *name ? name : "(DISPLAY is not set)");
    exit(1);
  }
}

int main(int argc, char **argv) {
  AnswerCommandLine(argc, argv);
  ProgramArgc = argc;
  ProgramArgv = argv;
  StartProgram();
}
