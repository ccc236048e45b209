// Start-up: from the launcher's Okay (the display opening) to the first
// frame on screen, step by step as the show runs them, and the scene set-up
// with its largest parts (timed once more each, after the first run).
// Needs an X display (or starts a private one), data/ and mod/ in the
// working directory; the sound goes to SDL's dummy driver unless one is set.
#include "core/frame.h"
#include "core/program.h"
#include "effects/proctex.h"
#include "effects/proctex_recipes.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "launcher/glcaps.h"
#include "music/music.h"
#include "platform/message_box.h"
#include "platform/private_x_server.h"
#include "scene/scene.h"
#include "textures/texture.h"

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

static GLuint RecipeTexture() {
  GLuint name = createTexture(TexGen.Layers[TEX_RESULT_LAYER].data(), (uint32_t)TexGen.Width,
                              (uint32_t)TexGen.Height, GL_RGBA, MipmapFilter, GL_REPEAT, 255, true, false, true);
  TexRelease();
  return name;
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

  // The parts of the set-up, each once more.
  Time(".LoadScene", [] {
    static Scene scratch;
    LoadScene("data\\xmas.3ds", scratch);
  });
  Time(".3 file textures", [] {
    loadTexture("data\\flareblu.hwl", GL_RGBA, MipmapFilter, GL_REPEAT, 255, false, true);
    loadTexture("data\\snowflak.hwl", GL_RGBA, MipmapFilter, GL_REPEAT, 255, false, true);
    loadTexture("data\\hwlshin5.hwl", GL_RGBA, MipmapFilter, GL_REPEAT, 255, false, true);
  });
  Time(".recipe A 128", [] {
    RunReflectionRecipe();
    RecipeTexture();
  });
  Time(".recipe B 256", [] {
    RunTreeRecipe();
    RecipeTexture();
  });
  Time(".branch texture", [] {
    loadTextureWithAlpha("data\\xmastree.hwl", "data\\xmastrea.hwl", GL_RGBA, PlainFilter, GL_REPEAT, false, true);
  });
  Time(".recipe C 256", [] {
    RunSurfaceRecipe();
    RecipeTexture();
  });
  Time(".banner texture", [] {
    loadTextureWithAlpha("data\\xmasband.hwl", "data\\xmasbana.hwl", GL_RGBA, PlainFilter, GL_CLAMP, false, false);
  });
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
