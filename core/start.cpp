// The start-up sequence and the keyboard.
#include "core/frame.h"
#include "core/program.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "launcher/launcher.h"
#include "music/music.h"
#include "platform/runtime_error.h"

#include <GL/freeglut.h>

int ProgramArgc;
char **ProgramArgv;

void KeyPressed(unsigned char key, int, int) {
  if (key == 27) EndProgram(0);
}

void StartProgram() {
  SetRunTimeErrorReport(ShowRunTimeError);
  SetDisplayCommandLine(&ProgramArgc, ProgramArgv);
  RunLauncher(0);
  InitGLState();
  StartMusic();
  PlayMusic();
  RegisterExitProcedure(StopMusicAndShowCredits);
  SetupScene();
  glutKeyboardFunc(KeyPressed);
  glutDisplayFunc(DisplayFrame);
  ResetClock(0);
  glutMainLoop();
  EndProgram(0);
}
