// Start-up: from the launcher's Okay (the display opening) to the first
// frame on screen, step by step as the show runs them (bench_setup times
// the scene set-up's own parts).
// Needs an X display (or starts a private one), data/ and mod/ in the
// working directory; the sound goes to SDL's dummy driver unless one is set.
#include "core/frame.h"
#include "core/program.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "music/music.h"
#include "platform/message_box.h"
#include "platform/private_x_server.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

typedef std::chrono::steady_clock Clock;

static double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Step {
  const char *Name;
  double Ms;
};

static std::vector<Step> Steps;

template <typename F>
static void Time(const char *name, F work) {
  auto start = Clock::now();
  work();
  Steps.push_back({name, Since(start)});
}

static void BM_Startup(benchmark::State &state) {
  for (auto _ : state) {
  }
  for (const Step &s : Steps) state.counters[s.Name] = s.Ms;
}

int main(int argc, char **argv) {
  setenv("SDL_AUDIODRIVER", getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "dummy", 1);
  SetMessageBoxesOnStderr(true);
  char error[300];
  if (!DisplayAvailable() && !StartPrivateXServer(640, 480, error, sizeof error)) {
    fprintf(stderr, "bench_startup: %s\n", error);
    return 1;
  }
  ProgramArgc = argc;
  ProgramArgv = argv;
  // The show's sequence after the launcher's Okay, to the first frame.
  auto okay = Clock::now();
  Time("OpenDisplay", [] { OpenDisplay(640, 480, 32, false, 0); });
  Time("InitGLState", [] { InitGLState(); });
  Time("StartMusic", [] {
    StartMusic();
    PlayMusic();
  });
  Time("SetupScene", [] { SetupScene(); });
  glutDisplayFunc(DisplayFrame);
  ResetClock(0);
  Time("FirstFrame", [] {
    DisplayFrame();
    glFinish();
  });
  double toFirstFrame = Since(okay);

  printf("Okay to first frame: %.1f ms\n", toFirstFrame);
  for (const Step &s : Steps) printf("  %-18s %8.1f ms\n", s.Name, s.Ms);
  fflush(stdout);

  benchmark::RegisterBenchmark("BM_Startup", BM_Startup)->Iterations(1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  RunExitProcedures();
  return 0;
}
