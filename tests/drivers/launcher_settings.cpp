// The launcher on its own, for the end-to-end scripts.
//   launcher_settings          runs the launcher, prints the stored settings
//                              as "settings WxH:B fullscreen=F texcompress=T",
//                              then clears and swaps until Escape.
//   launcher_settings --modes  prints the display modes as the list shows
//                              them, one a line, then "current WxH:B".
#include "core/program.h"
#include "launcher/display.h"
#include "launcher/launcher.h"
#include "platform/display_modes.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstring>

static void Draw() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}

static int PrintModes() {
  DisplayMode mode;
  for (int32_t i = 0; EnumDisplaySettingsA(nullptr, i, &mode); i++) {
    printf("%s\n", ModeEntry(mode.Width, mode.Height, mode.BitsPerPixel).c_str());
  }
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
  printf("current %s\n", ModeEntry(mode.Width, mode.Height, mode.BitsPerPixel).c_str());
  return 0;
}

int main(int argc, char **argv) {
  if (argc > 1 && strcmp(argv[1], "--modes") == 0) return PrintModes();
  int one = 1;
  SetDisplayCommandLine(&one, argv);
  RunLauncher(0);
  printf("settings %s fullscreen=%d texcompress=%d\n",
         ModeEntry(DisplaySettings.ScreenWidth, DisplaySettings.ScreenHeight, DisplaySettings.ScreenBits).c_str(),
         DisplaySettings.Fullscreen ? 1 : 0, DisplaySettings.TexCompress ? 1 : 0);
  fflush(stdout);
  InitGLState();
  glutKeyboardFunc(KeyPressed);
  glutDisplayFunc(Draw);
  ResetClock(0);
  glutMainLoop();
  EndProgram(0);
}
