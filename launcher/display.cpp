#include "launcher/display.h"

#include "core/exit_list.h"
#include "launcher/glcaps.h"
#include "platform/blanking.h"
#include "platform/end_signals.h"
#include "platform/message_box.h"
#include "platform/screensaver.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cstdint>
#include <cstdio>
#include <ctime>

#ifndef GL_TEXTURE_COMPRESSION_HINT_ARB
#define GL_TEXTURE_COMPRESSION_HINT_ARB 0x84EF
#endif

DisplaySettingsRecord DisplaySettings = {640, 480, 32, false, false};
static bool ScreenSaverWasActive;
static char DefaultProgramName[] = "frosten";
static char *DefaultCommandLine[] = {DefaultProgramName, nullptr};
static int DefaultArgumentCount = 1;
static int *CommandLineCount = &DefaultArgumentCount;
static char **CommandLine = DefaultCommandLine;

// The show clock's state: the show time so far, in ns from the last
// ResetClock, its offset, and the steady reading it was last advanced to.
struct ShowClockRecord {
  int64_t ShowNs;
  int64_t OffsetMs;
  int64_t LastReading;
};
static ShowClockRecord ShowClockState;

static int64_t MonotonicNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

static SteadyReadingProc SteadyReading = MonotonicNs;

// The show time advances by what the reading advanced since the last look;
// a reading that went back counts as time standing still, and the show time
// runs on from there. Sums that would pass 2^63 ns (292 years) stay put.
static int64_t ShowClock() {
  ShowClockRecord &c = ShowClockState;
  int64_t reading = SteadyReading(), step, ns, ms;
  if (!__builtin_sub_overflow(reading, c.LastReading, &step) && step > 0 &&
      !__builtin_add_overflow(c.ShowNs, step, &ns))
    c.ShowNs = ns;
  c.LastReading = reading;
  if (__builtin_add_overflow(c.OffsetMs, c.ShowNs / 1000000, &ms)) ms = INT64_MAX;
  return ms;
}

static ClockSourceProc ClockSource = ShowClock;
const float FarPlane = 50.0f;
const char *const ShowWindowTitle = "glZELT";
const double ProjectionAspect = 1.3333;

void GameModeString(char *out, int outSize, int32_t width, int32_t height, int32_t bits) {
  snprintf(out, outSize, "%dx%d:%d@60", (int)width, (int)height, (int)bits);
}

// Also the show's safe point for a signal that asks it to end.
static void Idle() {
  CheckEndSignal();
  glutPostRedisplay();
}

static void LeaveGameMode() { glutLeaveGameMode(); }

static void EnterGameMode(int32_t width, int32_t height, int32_t bits) {
  static char mode[48];
  GameModeString(mode, sizeof mode, width, height, bits);
  glutGameModeString(mode);
  if (glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) == 0) {
    MessageBoxA(nullptr, "This Fullscreen Mode is NOT supported!", mode, MB_ICONEXCLAMATION);
    EndProgram(1);
  }
  glutEnterGameMode();
  if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE) == 0) {
    MessageBoxA(nullptr, "This Fullscreen Mode couldn't be initialized!", mode, MB_ICONEXCLAMATION);
    EndProgram(1);
  }
  glutSetWindowTitle(ShowWindowTitle);
  RegisterExitProcedure(LeaveGameMode);
}

void SetDisplayCommandLine(int *argc, char **argv) {
  CommandLineCount = argc;
  CommandLine = argv;
}

void OpenDisplay(int32_t width, int32_t height, int32_t bits, bool fullscreen, uint32_t extraDisplayMode) {
  glutInit(CommandLineCount, CommandLine);
  glutInitDisplayMode(extraDisplayMode | GLUT_DOUBLE | GLUT_DEPTH);
  if (fullscreen) {
    EnterGameMode(width, height, bits);
  } else {
    glutInitWindowSize(width, height);
    glutCreateWindow(ShowWindowTitle);
  }
  DetectGLCapabilities();
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &ScreenSaverWasActive, 0);
  if (ScreenSaverWasActive) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);
  SuspendBlanking();
  RegisterExitProcedure(RestoreScreenSaver);
}

void InitGLState() {
  glutSetCursor(GLUT_CURSOR_NONE);
  SetFixedGLState();
  glutReshapeFunc(Reshape);
  glutIdleFunc(Idle);
}

void SetFixedGLState() {
  if (HardwareRenderer) glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  if (UseTexCompression) glHint(GL_TEXTURE_COMPRESSION_HINT_ARB, GL_NICEST);
  glPolygonMode(GL_FRONT, GL_FILL);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);
  glEnable(GL_DITHER);
}

void Reshape(int32_t width, int32_t height) {
  GLint matrixMode;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, ProjectionAspect, 0.1, (double)FarPlane);
  glMatrixMode(matrixMode);
}

void RestoreScreenSaver() {
  if (ScreenSaverWasActive) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
  ResumeBlanking();
}

void ResetClock(int64_t offset) { ShowClockState = {0, offset, SteadyReading()}; }

void SetSteadyReading(SteadyReadingProc reading) { SteadyReading = reading ? reading : MonotonicNs; }

void SetClockSource(ClockSourceProc source) { ClockSource = source ? source : ShowClock; }

int64_t ClockMs() { return ClockSource(); }

FourThreeRect FitFourThree(int width, int height) {
  FourThreeRect r = {0, 0, width, height};
  // The narrower side sets the size.
  if ((int64_t)width * 3 > (int64_t)height * 4) {
    r.Width = (int)(((int64_t)height * 4 + 1) / 3);
    r.X = (width - r.Width) / 2;
  } else {
    r.Height = (int)(((int64_t)width * 3 + 2) / 4);
    r.Y = (height - r.Height) / 2;
  }
  return r;
}
