// The time-warp soak (bench/soak.sh --warp): the show's frame driver in a
// GL window on a steady clock that this program moves itself, through the
// show clock's settable reading. It jumps the clock by 1 s, 1 min, 1 h, 8 h
// and 64 h (a laptop resumed, a process stopped and continued), steps the
// wall clock by an hour on the real clock, runs 30 days of show time in a
// few thousand frames and jumps over the timeline's wrap at 2^31 ticks,
// and prints the longest frame of each part. A frame is drawing, swap and
// glFinish.
// Needs an X display (or starts a private one) and data/ in the working
// directory.
#include "core/frame.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "offscreen/frame_capture.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <sys/time.h>
#include <vector>

static const int64_t MS = 1000000, SECOND = 1000 * MS, MINUTE = 60 * SECOND, HOUR = 60 * MINUTE,
                     DAY = 24 * HOUR;

// The warped steady clock, in ns; starts where a machine up for a year is.
static int64_t WarpNs = 365 * DAY;
static int64_t WarpReading() { return WarpNs; }

// The wall clock as this process sees it, WallStepNs ahead of the real one:
// the C library's calls, taken over for everything in the process (GLUT
// included) through the program's exported symbols.
static int64_t WallStepNs;

extern "C" int clock_gettime(clockid_t clock, struct timespec *t) {
  static auto real = (int (*)(clockid_t, struct timespec *))dlsym(RTLD_NEXT, "clock_gettime");
  int r = real(clock, t);
  if (r == 0 && WallStepNs && (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE)) {
    int64_t ns = (int64_t)t->tv_sec * SECOND + t->tv_nsec + WallStepNs;
    t->tv_sec = (time_t)(ns / SECOND);
    t->tv_nsec = (long)(ns % SECOND);
  }
  return r;
}

extern "C" int gettimeofday(struct timeval *tv, void *zone) {
  static auto real = (int (*)(struct timeval *, void *))dlsym(RTLD_NEXT, "gettimeofday");
  int r = real(tv, zone);
  if (r == 0 && WallStepNs) {
    int64_t us = (int64_t)tv->tv_sec * 1000000 + tv->tv_usec + WallStepNs / 1000;
    tv->tv_sec = (time_t)(us / 1000000);
    tv->tv_usec = (suseconds_t)(us % 1000000);
  }
  return r;
}

static double RealMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

// One frame as the show draws it; its time in ms.
static double Frame() {
  double start = RealMs();
  DisplayFrame();
  glFinish();
  return RealMs() - start;
}

// `count` frames, the warped clock 1/60 s further each; the longest.
static double NormalFrames(int count, std::vector<double> *all = nullptr) {
  double longest = 0;
  for (int i = 0; i < count; i++) {
    WarpNs += SECOND / 60;
    double ms = Frame();
    longest = std::max(longest, ms);
    if (all) all->push_back(ms);
  }
  return longest;
}

static long RssKb() {
  FILE *f = fopen("/proc/self/status", "r");
  char line[256];
  long kb = -1;
  while (f && fgets(line, sizeof line, f))
    if (!strncmp(line, "VmRSS:", 6)) kb = atol(line + 6);
  if (f) fclose(f);
  return kb;
}

static void Jump(const char *name, int64_t ns) {
  int64_t before = ClockMs();
  WarpNs += ns;
  double after = Frame();
  double next = NormalFrames(60);
  printf("jump %-8s frame after it %7.1f ms, longest of the next 60 %6.1f ms; show time +%lld ms in all\n", name, after,
         next, (long long)(ClockMs() - before));
}

int main() {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  char error[300];
  if (!OpenCaptureWindow(640, 480, error, sizeof error)) {
    fprintf(stderr, "soak_warp: %s\n", error);
    return 1;
  }
  SetupScene();
  SetSteadyReading(WarpReading);
  SetClockSource(nullptr);
  ResetClock(0);
  std::vector<double> normal;
  NormalFrames(300, &normal);
  long rssStart = RssKb();
  std::sort(normal.begin(), normal.end());
  printf("normal frames: median %.1f ms, longest %.1f ms (300 frames, catch-up bound %d ticks)\n",
         normal[normal.size() / 2], normal.back(), (int)MAX_CATCH_UP_TICKS);

  Jump("1 s", SECOND);
  Jump("1 min", MINUTE);
  Jump("1 h", HOUR);
  Jump("8 h", 8 * HOUR);
  Jump("64 h", 64 * HOUR);

  // The wall clock steps an hour forward while the show runs on the real
  // steady clock: GLUT's elapsed time jumps, the show clock does not.
  int64_t now = ClockMs();
  SetSteadyReading(nullptr);
  ResetClock(now);
  double steady = 0;
  for (double start = RealMs(); RealMs() - start < 1000;) steady = std::max(steady, Frame());
  int glutBefore = glutGet(GLUT_ELAPSED_TIME);
  int64_t showBefore = ClockMs();
  WallStepNs = HOUR;
  double longest = 0;
  for (double start = RealMs(); RealMs() - start < 1000;) longest = std::max(longest, Frame());
  printf("wall clock +1 h: longest frame %.1f ms in the second after (%.1f ms before); "
         "GLUT's elapsed time +%d ms, show time +%lld ms\n",
         longest, steady, glutGet(GLUT_ELAPSED_TIME) - glutBefore, (long long)(ClockMs() - showBefore));
  WallStepNs = 0;

  // 30 days of show time in 3000 frames of 864 s each, over INT32_MAX ms.
  now = ClockMs();
  SetSteadyReading(WarpReading);
  ResetClock(now);
  double start = RealMs();
  std::vector<double> days;
  for (int i = 0; i < 3000; i++) {
    WarpNs += 30 * DAY / 3000;
    days.push_back(Frame());
  }
  std::sort(days.begin(), days.end());
  printf("30 days in %.1f s of 3000 frames of 864 s each: median %.1f ms, 99th percentile %.1f ms, longest %.1f "
         "ms; show time now %.2f days, tick %d; RSS %ld kB (%ld kB after the first 300 frames)\n",
         (RealMs() - start) / 1000, days[1500], days[2970], days.back(), (double)ClockMs() / 8.64e7,
         (int)CurrentTick, RssKb(), rssStart);

  // Over the timeline's wrap: from 1 h before 2^31 ticks to 1 h after.
  WarpNs += (int64_t)((double)SHOW_TICK_WRAP / 60 * SECOND) - (int64_t)ClockMs() * MS - HOUR;
  NormalFrames(10);
  int32_t tickBefore = CurrentTick;
  Jump("2 h over the wrap", 2 * HOUR);
  printf("timeline tick %d before the wrap, %d after\n", (int)tickBefore, (int)CurrentTick);
  return 0;
}
