// Opens the display the way the launcher would, with the settings given on
// the command line: open_display WIDTH HEIGHT BITS FULLSCREEN(0|1).
// Then clears and swaps until Escape, like the bare show.
#include "core/program.h"
#include "launcher/display.h"

#include <GL/freeglut.h>
#include <cstdlib>

static void Draw() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}

int main(int argc, char **argv) {
  int one = 1;
  SetDisplayCommandLine(&one, argv);
  if (argc < 5) return 2;
  DisplaySettings = {atoi(argv[1]), atoi(argv[2]), atoi(argv[3]), atoi(argv[4]) != 0, false};
  OpenDisplay(DisplaySettings.ScreenWidth, DisplaySettings.ScreenHeight, DisplaySettings.ScreenBits,
              DisplaySettings.Fullscreen, 0);
  InitGLState();
  glutKeyboardFunc(KeyPressed);
  glutDisplayFunc(Draw);
  ResetClock(0);
  glutMainLoop();
  EndProgram(0);
}
