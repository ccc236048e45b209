// The start-up sequence and the keyboard.
#include "core/frame.h"
#include "core/program.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "launcher/launcher.h"
#include "music/music.h"
#include "platform/end_signals.h"
#include "platform/runtime_error.h"

#include <GL/freeglut.h>
#include <cstdlib>

int ProgramArgc;
char **ProgramArgv;

void KeyPressed(unsigned char key, int, int) {
  if (key == 27) EndProgram(0);
}

static bool Exiting;

// The window manager's close button ends the show as Escape does. GLUT also
// calls this when it destroys the window at the process's exit: not a
// request then.
static void CloseRequested() {
  if (!Exiting) EndProgram(0);
}

// Runs at exit before GLUT's own clean-up, which was registered earlier.
static void MarkExiting() { Exiting = true; }

void StartProgram() {
  CatchEndSignals(EndProgramOnSignal);
  SetRunTimeErrorReport(ShowRunTimeError);
  SetDisplayCommandLine(&ProgramArgc, ProgramArgv);
  RunLauncher(0);
  atexit(MarkExiting);
  InitGLState();
  StartMusic();
  PlayMusic();
  RegisterExitProcedure(StopMusicAndShowCredits);
  SetupScene();
  glutKeyboardFunc(KeyPressed);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
  glutCloseFunc(CloseRequested);
  glutDisplayFunc(DisplayFrame);
  ResetClock(0);
  glutMainLoop();
  EndProgram(0);
}
