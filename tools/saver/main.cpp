// frosten-saver: the show's scene (its scene set-up and frame driver, on the
// wall clock) as a screen saver: into a window it is given, the root window
// or a window of its own, in the largest centred 4:3 viewport, paced to a
// frame rate, silent unless asked. No launcher, no display-mode change, no
// screen-saver switching, no files written.
#include "core/frame.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "launcher/glcaps.h"
#include "platform/display_check.h"
#include "platform/end_signals.h"
#include "platform/glx_surface.h"
#include "platform/message_box.h"
#include "scene/datafile.h"
#include "tools/common/tool_cli.h"
#include "tools/saver/saver.h"

#include <GL/freeglut.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

enum { OWN_WIDTH = 640, OWN_HEIGHT = 480 };

// The frames drawn and the time and CPU they took, for --stats.
struct SaverStats {
  long Frames;
  timespec WallStart;
  double CpuStart;
};

static double CpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return (double)usage.ru_utime.tv_sec + (double)usage.ru_stime.tv_sec +
         ((double)usage.ru_utime.tv_usec + (double)usage.ru_stime.tv_usec) / 1e6;
}

static double SecondsSince(const timespec &start) {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (double)(now.tv_sec - start.tv_sec) + (double)(now.tv_nsec - start.tv_nsec) / 1e9;
}

// The data folder: the installed one, found relative to this program, or
// else the working directory (a build run from the source folder).
static void EnterDataFolder() {
  char self[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return;
  self[length] = 0;
  std::string folder(self);
  folder.erase(folder.rfind('/') + 1);
  folder += FROSTEN_SAVER_TO_DATA;
  if (access((folder + "/data/xmas.3ds").c_str(), R_OK) == 0 && chdir(folder.c_str()) != 0)
    ToolFail("cannot enter %s", folder.c_str());
}

static void SaverDataError(int code, const char *fileName) {
  ToolFail("cannot read %s: %s", fileName ? fileName : "a data file", IoErrorText(code));
}

static void InitGlut() {
  static char name[] = "frosten-saver";
  static char *argv[] = {name, nullptr};
  int argc = 1;
  glutInit(&argc, argv);
}

static void OpenSurface(const SaverOptions &options, GlxSurface &surface) {
  char error[160];
  bool ok = options.Target == SAVER_OWN_WINDOW
                ? OpenGlxOwnWindow(surface, OWN_WIDTH, OWN_HEIGHT, "frosten-saver", error, sizeof error)
                : OpenGlxOnWindow(surface, options.Target == SAVER_ROOT ? 0 : options.WindowId, error,
                                  sizeof error);
  if (!ok) ToolFail("%s", error);
}

static void AddNs(timespec &t, int64_t ns) {
  t.tv_nsec += (long)(ns % 1000000000);
  t.tv_sec += (time_t)(ns / 1000000000);
  if (t.tv_nsec >= 1000000000) {
    t.tv_nsec -= 1000000000;
    t.tv_sec++;
  }
}

static bool Before(const timespec &a, const timespec &b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Sleeps until the next frame's deadline. Deadlines are absolute, so the
// rate does not drift with the drawing time; a saver that fell behind by a
// whole frame starts afresh instead of catching up. A signal cuts the sleep
// short.
static void WaitForNextFrame(timespec &deadline, int64_t periodNs) {
  if (periodNs <= 0) return;
  AddNs(deadline, periodNs);
  timespec now, late = deadline;
  clock_gettime(CLOCK_MONOTONIC, &now);
  AddNs(late, periodNs);
  if (Before(late, now)) deadline = now;
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
}

// While the window is unmapped (iconified) nothing is drawn; its events are
// looked at a few times a second.
static void WaitWhileHidden(int64_t periodNs) {
  int64_t ns = periodNs > 100000000 ? periodNs : 100000000;
  timespec pause = {(time_t)(ns / 1000000000), (long)(ns % 1000000000)};
  clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, nullptr);
}

static bool Running(const GlxSurface &surface) {
  return !PendingEndSignal() && !surface.EndRequested && !surface.TargetLost;
}

// The frame rate shown by --fps: frames counted over about a second.
struct FrameRateMeter {
  timespec Start;
  long Frames;
  double Shown;
};

static void CountFrame(FrameRateMeter &meter) {
  meter.Frames++;
  double seconds = SecondsSince(meter.Start);
  if (seconds < 1) return;
  meter.Shown = meter.Frames / seconds;
  meter.Frames = 0;
  clock_gettime(CLOCK_MONOTONIC, &meter.Start);
}

static void RunFrames(GlxSurface &surface, const SaverOptions &options, SaverStats &stats) {
  clock_gettime(CLOCK_MONOTONIC, &stats.WallStart);
  stats.CpuStart = CpuSeconds();
  timespec deadline = stats.WallStart;
  FrameRateMeter meter = {stats.WallStart, 0, 0};
  // The daemon's window and the root window are a screen saver's: black
  // around the picture.
  bool blackBars = options.Target != SAVER_OWN_WINDOW;
  ResetClock(0);
  while (Running(surface)) {
    PollGlxEvents(surface);
    if (!Running(surface)) break;
    if (surface.Hidden) {
      WaitWhileHidden(options.FramePeriodNs);
      clock_gettime(CLOCK_MONOTONIC, &deadline);
      meter = {deadline, 0, meter.Shown};
      continue;
    }
    DrawSaverFrame(surface.Width, surface.Height, blackBars);
    if (options.ShowFrameRate) DrawFrameRate(surface.Width, surface.Height, meter.Shown);
    if (!Running(surface)) break;
    SwapGlxBuffers(surface);
    CountFrame(meter);
    stats.Frames++;
    WaitForNextFrame(deadline, options.FramePeriodNs);
  }
}

static void IgnoreSignal(int) {}

int main(int argc, char **argv) {
  ToolStart("frosten-saver", SaverUsage, argc, argv);
  SaverOptions options = ParseSaverOptions(argc, argv, getenv("XSCREENSAVER_WINDOW"));
  CatchEndSignals(IgnoreSignal);
  SetMessageBoxesOnStderr(true);
  DataError = SaverDataError;
  EnterDataFolder();
  if (!XDisplayOpensQuietly(nullptr)) ToolFail("cannot open the X display %s", getenv("DISPLAY") ? getenv("DISPLAY") : "");
  InitGlut();
  GlxSurface surface;
  OpenSurface(options, surface);
  DetectGLCapabilities();
  SetFixedGLState();
  if (options.Music) StartSaverMusic();
  SetupScene();

  SaverStats stats = {};
  RunFrames(surface, options, stats);
  double seconds = SecondsSince(stats.WallStart), cpu = CpuSeconds() - stats.CpuStart;
  StopSaverMusic();
  CloseGlxSurface(surface);
  if (options.Stats)
    fprintf(stderr, "frosten-saver: %ld frames in %.2f s, %.2f s CPU\n", stats.Frames, seconds, cpu);
  return 0;
}
