// frosten-capture: draws the show as frosten draws it, through the same
// scene set-up and frame driver, at chosen ticks instead of the wall clock,
// and writes each picture as DIR/tick-NNNNNN.png. No launcher, no sound, no
// display mode change; a private X server when there is no display.
#include "core/program.h"
#include "effects/setup.h"
#include "platform/runtime_error.h"
#include "scene/datafile.h"
#include "tools/capture/frame_capture.h"

#include <GL/freeglut.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <sys/stat.h>

enum { MAX_SIZE = 8192, MAX_TICK = 100000000 };

static const char Usage[] = "usage: frosten-capture [--size WxH] [--from TICK] [--to TICK] [--step N] --png DIR";

struct CaptureArguments {
  int Width = 640, Height = 480;
  long From = 0, To = -1, Step = 1;
  const char *PngDir = nullptr;
};

[[noreturn]] static void Fail(int code, const char *text) {
  fprintf(stderr, "frosten-capture: %s\n", text);
  exit(code);
}

static bool ParseNumber(const char *text, long low, long high, long &out) {
  if (!text || !*text) return false;
  char *end;
  errno = 0;
  long value = strtol(text, &end, 10);
  if (errno || *end || value < low || value > high) return false;
  out = value;
  return true;
}

static bool ParseSize(const char *text, int &width, int &height) {
  if (!text) return false;
  const char *x = strchr(text, 'x');
  if (!x || x == text) return false;
  char first[16];
  size_t n = (size_t)(x - text);
  if (n >= sizeof first) return false;
  memcpy(first, text, n);
  first[n] = 0;
  long w, h;
  if (!ParseNumber(first, 1, MAX_SIZE, w) || !ParseNumber(x + 1, 1, MAX_SIZE, h)) return false;
  width = (int)w;
  height = (int)h;
  return true;
}

static CaptureArguments ParseArguments(int argc, char **argv) {
  CaptureArguments a;
  for (int i = 1; i < argc; i++) {
    const char *option = argv[i];
    const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = value != nullptr;
    if (!strcmp(option, "--size")) ok = ok && ParseSize(value, a.Width, a.Height);
    else if (!strcmp(option, "--from")) ok = ok && ParseNumber(value, 0, MAX_TICK, a.From);
    else if (!strcmp(option, "--to")) ok = ok && ParseNumber(value, 0, MAX_TICK, a.To);
    else if (!strcmp(option, "--step")) ok = ok && ParseNumber(value, 1, MAX_TICK, a.Step);
    else if (!strcmp(option, "--png")) a.PngDir = value;
    else Fail(2, Usage);
    if (!ok) {
      char text[300];
      snprintf(text, sizeof text, "bad value for %s: %s", option, value ? value : "(none)");
      Fail(2, text);
    }
    i++;
  }
  if (!a.PngDir || !*a.PngDir) Fail(2, Usage);
  if (a.To < 0) a.To = a.From;
  if (a.To < a.From) Fail(2, "--to comes before --from");
  return a;
}

// The show reports an unreadable data file with the run-time error report;
// here its first line goes to stderr, with the file's name.
static void CaptureDataError(int code, const char *fileName) {
  void *frames[2];
  int depth = backtrace(frames, 2);
  char report[256];
  FormatRunTimeError(report, sizeof report, code, frames + 1, depth - 1);
  report[strcspn(report, "\r\n")] = 0;
  fprintf(stderr, "%s (%s)\n", report, fileName ? fileName : "");
  fflush(stderr);
  exit(code);
}

static void WriteTick(const CaptureArguments &a, long tick, PngImage &image) {
  ReadBackBuffer(a.Width, a.Height, image);
  char path[4096], error[300];
  snprintf(path, sizeof path, "%s/tick-%06ld.png", a.PngDir, tick);
  if (!WritePng(path, image, error, sizeof error)) Fail(1, error);
}

int main(int argc, char **argv) {
  CaptureArguments a = ParseArguments(argc, argv);
  if (mkdir(a.PngDir, 0777) != 0 && errno != EEXIST) {
    char text[4200];
    snprintf(text, sizeof text, "cannot make %s: %s", a.PngDir, strerror(errno));
    Fail(1, text);
  }
  ProgramArgc = argc;
  ProgramArgv = argv;
  DataError = CaptureDataError;
  char error[300];
  if (!OpenCaptureWindow(a.Width, a.Height, error, sizeof error)) Fail(1, error);
  SetupScene();

  PngImage image;
  for (long tick = 0; tick <= a.To; tick++) {
    DrawTick((int32_t)tick);
    if (tick >= a.From && (tick - a.From) % a.Step == 0) {
      WriteTick(a, tick, image);
      glutSwapBuffers();
    }
  }
  return 0;
}
