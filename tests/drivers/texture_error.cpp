// Loads a texture that cannot be used: the "Error" box names the file and
// the reason, then the exit procedures run and the process ends with code 1.
// texture_error COLOUR_FILE [ALPHA_FILE]
#include "core/program.h"
#include "textures/texture.h"

#include <cstdio>

static void SayGoodbye() { fprintf(stderr, "exit procedure ran\n"); }

int main(int argc, char **argv) {
  ProgramArgc = 1;
  ProgramArgv = argv;
  if (argc < 2) return 2;
  RegisterExitProcedure(SayGoodbye);
  // The file is rejected before any GL call, so no window is needed.
  loadTextureWithAlpha(argv[1], argc > 2 ? argv[2] : "", GL_RGBA, GL_NEAREST, GL_REPEAT, false, false);
  fprintf(stderr, "loaded\n");
  return 0;
}
