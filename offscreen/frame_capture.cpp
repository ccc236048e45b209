#include "offscreen/frame_capture.h"

#include "core/frame.h"
#include "launcher/display.h"
#include "launcher/glcaps.h"
#include "platform/message_box.h"
#include "platform/private_x_server.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdio>

static int32_t CaptureMs;
static int32_t LastTick = -1;

static uint32_t FirstGLError;
static int32_t FirstGLErrorTick;

static int64_t CaptureClock() { return CaptureMs; }

// Reads the GL's error flags after a frame (a GL holds a few at the most).
static void CheckFrameGLError(int32_t tick) {
  for (int n = 0; n < 8; n++) {
    GLenum e = glGetError();
    if (e == GL_NO_ERROR) return;
    if (FirstGLError == 0) {
      FirstGLError = e;
      FirstGLErrorTick = tick;
    }
  }
}

uint32_t TakeFrameGLError(int32_t &tick) {
  uint32_t e = FirstGLError;
  tick = FirstGLErrorTick;
  FirstGLError = 0;
  return e;
}

const char *GLErrorText(uint32_t error) { return (const char *)gluErrorString(error); }

int32_t MsOfTick(int32_t tick) { return (int32_t)std::lround((double)tick * 1000.0 / 60.0); }

bool OpenCaptureWindow(int width, int height, char *error, int errorSize) {
  SetMessageBoxesOnStderr(true);
  if (!DisplayAvailable() && !StartPrivateXServer(width, height, error, errorSize)) return false;
  int argc = 1;
  char name[] = "frosten-capture";
  char *argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(width, height);
  glutCreateWindow("frosten-capture");
  // Without a context (no GLX on the server) nothing can be drawn.
  if (!glGetString(GL_VERSION)) {
    snprintf(error, errorSize, "no GL context on the X display");
    return false;
  }
  GLint largest[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
  if (width > largest[0] || height > largest[1]) {
    snprintf(error, errorSize, "size %dx%d is larger than the GL allows (%dx%d)", width, height, largest[0],
             largest[1]);
    return false;
  }
  if (glutGet(GLUT_WINDOW_WIDTH) != width || glutGet(GLUT_WINDOW_HEIGHT) != height) {
    snprintf(error, errorSize, "the X server gave a window of %dx%d, not %dx%d", glutGet(GLUT_WINDOW_WIDTH),
             glutGet(GLUT_WINDOW_HEIGHT), width, height);
    return false;
  }
  DetectGLCapabilities();
  InitGLState();
  Reshape(width, height);
  SetClockSource(CaptureClock);
  return true;
}

// One tick on the capture clock: drawn, or stepped without drawing.
static void RunTick(int32_t tick, void (*frame)()) {
  CaptureMs = MsOfTick(tick);
  frame();
  CheckFrameGLError(tick);
  LastTick = tick;
}

void DrawTick(int32_t tick) { RunTick(tick, DrawFrame); }

int32_t DrawTicksUpTo(int32_t tick) {
  for (int32_t t = LastTick + 1; t <= tick; t++) DrawTick(t);
  return LastTick;
}

void StepTick(int32_t tick) { RunTick(tick, StepFrame); }

bool DrawTickAfterSteps(int32_t tick, bool (*stop)()) {
  for (int32_t t = LastTick + 1; t < tick; t++) {
    if (stop && t % 1024 == 0 && stop()) return false;
    StepTick(t);
  }
  DrawTick(tick);
  return true;
}

int32_t LastDrawnTick() { return LastTick; }

void ReadBackBuffer(int width, int height, PngImage &image) {
  image.Width = width;
  image.Height = height;
  image.Channels = 3;
  image.Pixels.resize((size_t)width * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  // GL rows run bottom to top; the picture's first row is the top one.
  for (int y = 0; y < height; y++)
    glReadPixels(0, height - 1 - y, width, 1, GL_RGB, GL_UNSIGNED_BYTE, &image.Pixels[(size_t)y * width * 3]);
}
