// The snow and the flares at their most (eight lights, eight fountains of
// 1000 flakes) and the show's whole frame at 640 x 480, next to a bare
// clear-and-swap loop, under the GL the machine has (llvmpipe here). Frame
// figures are per frame with glFinish: median and 95th percentile counters.
#define GL_GLEXT_PROTOTYPES 1
#include "core/frame.h"
#include "effects/flares.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "effects/show_random.h"
#include "offscreen/frame_capture.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <GL/glext.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

static const int WIDTH = 640, HEIGHT = 480;

// The show, set up once, with the frame driver at the given tick.
static bool ShowReady() {
  static int state = 0;
  if (state == 0) {
    state = 2;
    char error[300];
    if (chdir(FROSTEN_SOURCE_DIR) != 0 || !OpenCaptureWindow(WIDTH, HEIGHT, error, sizeof error)) {
      fprintf(stderr, "bench_effects: %s\n", error);
      return false;
    }
    SetupScene();
    state = 1;
  }
  return state == 1;
}

// Eight lights of different colours around the show's own lights, each with
// a fountain as the set-up makes it, 600 ticks into the show.
struct EightLights {
  Scene scene{};
  SceneLight lights[8]{};
  ParticleSystem snow[8]{};

  EightLights() {
    scene = ShowScene;
    SeedShowRandom();
    for (int i = 0; i < 8; i++) {
      const SceneLight &base = ShowScene.Lights[i % ShowScene.LightCount];
      lights[i] = base;
      lights[i].Position = Vector3{base.Position.x + (float)(i % 3) - 1, base.Position.y + (float)(i / 3) - 1,
                                   base.Position.z};
      lights[i].Colour[0] = (i & 1) ? 1.0f : 0.3f;
      lights[i].Colour[1] = (i & 2) ? 1.0f : 0.3f;
      lights[i].Colour[2] = (i & 4) ? 1.0f : 0.3f;
      CreateParticleSystem(snow[i], lights[i].Colour[0], lights[i].Colour[1], lights[i].Colour[2],
                           lights[i].Position, Vector3{0, 0, 0.2f}, Vector3{0.0005f, 0.0005f, -0.002f}, 1000, 350, 150,
                           0.5f, 0.5f, 0.3f);
      snow[i].Texture = SnowTexture;
      snow[i].TexEnv = GL_MODULATE;
      UpdateParticleSystem(snow[i], 600);
    }
    scene.Lights = lights;
    scene.LightCount = 8;
    scene.ParticleSystems = snow;
    scene.ParticleSystemCount = 8;
  }
  ~EightLights() {
    for (ParticleSystem &s : snow) FreeParticleSystem(s);
  }
};

static void BM_SnowUpdate8x1000(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  EightLights eight;
  for (auto _ : state)
    for (ParticleSystem &s : eight.snow) UpdateParticleSystem(s, 1);
  state.SetItemsProcessed(state.iterations() * 8000);
}
BENCHMARK(BM_SnowUpdate8x1000)->Unit(benchmark::kMicrosecond);

// Per-call times of a piece of GL work finished with glFinish, after an
// untimed preparation when one is given; with the fragments it drew (those
// that passed the depth test), which do not depend on the machine's load.
static void TimeFrames(benchmark::State &state, void (*work)(void *), void *context,
                       void (*prepare)(void *) = nullptr) {
  std::vector<double> ms;
  GLuint query;
  glGenQueries(1, &query);
  double fragments = 0;
  for (auto _ : state) {
    if (prepare) {
      prepare(context);
      glFinish();
    }
    auto start = std::chrono::steady_clock::now();
    glBeginQuery(GL_SAMPLES_PASSED, query);
    work(context);
    glEndQuery(GL_SAMPLES_PASSED);
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1000);
    GLuint passed = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
    fragments += passed;
  }
  glDeleteQueries(1, &query);
  state.counters["fragments/frame"] = fragments / (double)std::max<size_t>(ms.size(), 1);
  std::sort(ms.begin(), ms.end());
  if (ms.empty()) return;
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
}

// The camera of a show tick, with the frame's state before its flares.
static void CameraAt(int32_t tick) {
  DrawTick(tick);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

static void DrawEightSnow(void *context) {
  DrawParticleSystems(((EightLights *)context)->scene);
}

static void DrawEightFlares(void *context) {
  DrawFlares(((EightLights *)context)->scene, 600);
}

static void BM_SnowDraw8x1000(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  EightLights eight;
  CameraAt(600);
  TimeFrames(state, DrawEightSnow, &eight);
}
BENCHMARK(BM_SnowDraw8x1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

static void BM_FlaresDraw8(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  EightLights eight;
  CameraAt(600);
  TimeFrames(state, DrawEightFlares, &eight);
}
BENCHMARK(BM_FlaresDraw8)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

// The show's frame, one tick further each time, and the swap.
static void ShowFrame(void *context) {
  int32_t &tick = *(int32_t *)context;
  DrawTick(tick++);
  glutSwapBuffers();
}

static void BM_ShowFrame640x480(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  int32_t tick = LastDrawnTick() + 1;
  TimeFrames(state, ShowFrame, &tick);
}
BENCHMARK(BM_ShowFrame640x480)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

// The show's own flares and snow at its frames: the frame up to its flares
// is drawn untimed, then the flares (or the snow) alone are timed.
static int32_t EffectTick = 600;

static void ShowCameraNextTick(void *) {
  DrawTick(EffectTick++);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

static void ShowFlares(void *) { DrawFlares(ShowScene, EffectTick - 1); }
static void ShowSnow(void *) { DrawParticleSystems(ShowScene); }

static void BM_ShowFlares(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  EffectTick = 600;
  TimeFrames(state, ShowFlares, nullptr, ShowCameraNextTick);
}
BENCHMARK(BM_ShowFlares)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

static void BM_ShowSnow(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  EffectTick = 600;
  TimeFrames(state, ShowSnow, nullptr, ShowCameraNextTick);
}
BENCHMARK(BM_ShowSnow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

// The flares and glows over the whole camera loop, every tenth tick: their
// fragments per frame (on a cleared depth buffer, so all they cover), in
// screens of 640 x 480, on average and at most.
static void BM_ShowFlaresOverTheLoop(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  GLuint query;
  glGenQueries(1, &query);
  double total = 0, most = 0, frames = 0;
  for (auto _ : state) {
    for (int32_t tick = 0; tick < CAMERA_LOOP_TICKS; tick += 10) {
      CameraAt(tick);
      glBeginQuery(GL_SAMPLES_PASSED, query);
      DrawFlares(ShowScene, tick);
      glEndQuery(GL_SAMPLES_PASSED);
      GLuint passed = 0;
      glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
      total += passed;
      most = std::max(most, (double)passed);
      frames++;
    }
  }
  glDeleteQueries(1, &query);
  const double screen = (double)WIDTH * HEIGHT;
  state.counters["fragments/frame"] = total / frames;
  state.counters["screens/frame"] = total / frames / screen;
  state.counters["most_screens"] = most / screen;
}
BENCHMARK(BM_ShowFlaresOverTheLoop)->Unit(benchmark::kMillisecond)->Iterations(1);

// Where the frame's time goes: the show's frame over the whole loop (200
// ticks, 11 apart, the ticks between them stepped), whole and with parts
// left out (the flares, the snow, the banner, the meshes but the ground,
// all the meshes, all of these), as CPU time of all the process's threads
// per frame, which other load on the machine inflates less than the wall
// clock, and of it the main thread's in the frame driver (the rest is the
// GL's own threads, the swap and the wait for them).
enum FramePart { WHOLE_FRAME, NO_FLARES, NO_SNOW, NO_BANNER, GROUND_ONLY, NO_MESHES, NOTHING };

static double ProcessCpuMs() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
         (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

static void BM_ShowFrameParts(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  FramePart part = (FramePart)state.range(0);
  std::vector<float> sizes;
  for (uint32_t i = 0; i < ShowScene.LightCount; i++) sizes.push_back(ShowScene.Lights[i].FlareSize);
  std::vector<bool> drawable;
  for (uint32_t i = 0; i < ShowScene.ObjectCount; i++) drawable.push_back(ShowScene.Objects[i].Drawable);
  float bannerWidth = Banner.Width;
  for (uint32_t i = 0; i < ShowScene.LightCount; i++)
    if (part == NO_FLARES || part == NOTHING) ShowScene.Lights[i].FlareSize = 0;
  for (uint32_t i = 0; i < ShowScene.ParticleSystemCount; i++) ShowScene.ParticleSystems[i].Visible = part != NO_SNOW && part != NOTHING;
  for (uint32_t i = 0; i < ShowScene.ObjectCount; i++)
    if ((part == GROUND_ONLY && strncmp(ShowScene.Objects[i].Name.Text, "Ground", 6) != 0) || part == NO_MESHES || part == NOTHING)
      ShowScene.Objects[i].Drawable = false;
  if (part == NO_BANNER || part == NOTHING) Banner.Width = 0;
  double cpu = 0, frames = 0, mainMs = 0;
  for (auto _ : state) {
    for (int32_t tick = 0; tick < CAMERA_LOOP_TICKS; tick += 11, frames++) {
      // The ticks in between are stepped untimed: the show draws every one.
      for (int32_t t = LastDrawnTick() + 1; t < tick; t++) StepTick(t);
      double start = ProcessCpuMs();
      timespec t0, t1;
      clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t0);
      DrawTick(tick);
      clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t1);
      mainMs += (t1.tv_sec - t0.tv_sec) * 1e3 + (t1.tv_nsec - t0.tv_nsec) / 1e6;
      glutSwapBuffers();
      glFinish();
      cpu += ProcessCpuMs() - start;
    }
  }
  for (uint32_t i = 0; i < ShowScene.LightCount; i++) ShowScene.Lights[i].FlareSize = sizes[i];
  for (uint32_t i = 0; i < ShowScene.ParticleSystemCount; i++) ShowScene.ParticleSystems[i].Visible = true;
  for (uint32_t i = 0; i < ShowScene.ObjectCount; i++) ShowScene.Objects[i].Drawable = drawable[i];
  Banner.Width = bannerWidth;
  state.counters["cpu_ms/frame"] = cpu / frames;
  state.counters["main_draw_ms"] = mainMs / frames;
}
BENCHMARK(BM_ShowFrameParts)->DenseRange(WHOLE_FRAME, NOTHING)->Iterations(1)->Unit(benchmark::kMillisecond);

static void ClearAndSwap(void *) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}

static void BM_ClearAndSwap640x480(benchmark::State &state) {
  if (!ShowReady()) return state.SkipWithError("no GL window");
  TimeFrames(state, ClearAndSwap, nullptr);
}
BENCHMARK(BM_ClearAndSwap640x480)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
