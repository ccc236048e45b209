// The show's frame under the software GL, next to a loop that only clears
// and swaps at the same size: median, 10th and 95th percentile over 400
// frames (each finished with glFinish), the CPU time of all the process's
// threads per frame (which other load on the machine does not inflate),
// minor page faults per frame, and heap allocations inside the frame's
// drawing (counted on the main thread by a replaced malloc and operator
// new): all of them, and those asked for by the program's own code rather
// than the GL driver.
//
// FROSTEN_BENCH_MALLOC chooses the C library's handling of freed memory:
// "default" (as the show runs), "trim" (M_TRIM_THRESHOLD 256 MiB, which
// also stops the adaptive mmap threshold) or "trim+mmap" (the same and
// M_MMAP_THRESHOLD 32 MiB).
#include "core/frame.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "offscreen/frame_capture.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <malloc.h>
#include <new>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

enum { FRAMES = 400, WARM_UP = 40 };

static thread_local bool Counting;
static std::atomic<long> Mallocs, OwnMallocs, News;

// Whether the code that asked for memory is in this program (the show's
// own code is linked in statically) rather than in the GL driver.
static bool CalledFromProgram(void *caller) {
  static void *programBase;
  Dl_info info;
  bool saved = Counting;
  Counting = false;
  if (!programBase && dladdr((void *)&CalledFromProgram, &info)) programBase = info.dli_fbase;
  bool own = dladdr(caller, &info) && info.dli_fbase == programBase;
  Counting = saved;
  return own;
}

[[maybe_unused]] static void CountMalloc(void *caller) {  // unused when the sanitizer owns malloc
  Mallocs++;
  if (CalledFromProgram(caller)) OwnMallocs++;
}

#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *p, size_t size);
void __libc_free(void *p);
void *malloc(size_t size) {
  if (Counting) CountMalloc(__builtin_return_address(0));
  return __libc_malloc(size);
}
void *calloc(size_t count, size_t size) {
  if (Counting) CountMalloc(__builtin_return_address(0));
  return __libc_calloc(count, size);
}
void *realloc(void *p, size_t size) {
  if (Counting) CountMalloc(__builtin_return_address(0));
  return __libc_realloc(p, size);
}
void free(void *p) { __libc_free(p); }
}
void *operator new(size_t size) {
  if (Counting) News++;
  void *p = __libc_malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  return p;
}
void *operator new[](size_t size) { return operator new(size); }
void operator delete(void *p) noexcept { __libc_free(p); }
void operator delete[](void *p) noexcept { __libc_free(p); }
void operator delete(void *p, size_t) noexcept { __libc_free(p); }
void operator delete[](void *p, size_t) noexcept { __libc_free(p); }
#endif

static int32_t NextTick;

static void NoDisplay() {}

static void ResizeWindow(int width, int height) {
  glutReshapeWindow(width, height);
  for (int i = 0; i < 200; i++) {
    glutMainLoopEvent();
    if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) break;
    usleep(5000);
  }
  Reshape(width, height);
}

static long MinorFaults() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// CPU time of the whole process (the GL's threads too), in milliseconds:
// on a shared machine it tells the frame's work apart from the waiting.
static double ProcessCpuMs() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
         (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

static double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

static void ShowFrame() {
  Counting = true;
  DrawTick(NextTick++);
  Counting = false;
  glutSwapBuffers();
  glFinish();
}

static void ClearAndSwap() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  glFinish();
}

static void MeasureFrames(benchmark::State &state, void (*frame)()) {
  ResizeWindow((int)state.range(0), (int)state.range(1));
  for (int i = 0; i < WARM_UP; i++) frame();
  std::vector<double> times;
  times.reserve(FRAMES);
  Mallocs = 0;
  OwnMallocs = 0;
  News = 0;
  long faults = MinorFaults();
  double cpu = ProcessCpuMs();
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    frame();
    double ms = Milliseconds(std::chrono::steady_clock::now() - start);
    times.push_back(ms);
    state.SetIterationTime(ms / 1000.0);
  }
  faults = MinorFaults() - faults;
  cpu = ProcessCpuMs() - cpu;
  std::sort(times.begin(), times.end());
  double n = (double)times.size();
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["p95_ms"] = times[(size_t)(n * 0.95)];
  state.counters["p10_ms"] = times[(size_t)(n * 0.10)];
  state.counters["cpu_ms/frame"] = cpu / n;
  state.counters["minflt/frame"] = (double)faults / n;
  state.counters["malloc/frame"] = (double)Mallocs / n;
  state.counters["own_malloc/frame"] = (double)OwnMallocs / n;
  state.counters["new/frame"] = (double)News / n;
}

static void BM_ShowFrame(benchmark::State &state) { MeasureFrames(state, ShowFrame); }
static void BM_ClearAndSwap(benchmark::State &state) { MeasureFrames(state, ClearAndSwap); }

BENCHMARK(BM_ShowFrame)->Args({640, 480})->Iterations(FRAMES)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearAndSwap)->Args({640, 480})->Iterations(FRAMES)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowFrame)->Args({800, 600})->Iterations(FRAMES)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearAndSwap)->Args({800, 600})->Iterations(FRAMES)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
  const char *mode = getenv("FROSTEN_BENCH_MALLOC");
  if (!mode) mode = "default";
  if (!strcmp(mode, "trim") || !strcmp(mode, "trim+mmap")) mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  if (!strcmp(mode, "trim+mmap")) mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  char error[300];
  if (!OpenCaptureWindow(800, 600, error, sizeof error)) {
    fprintf(stderr, "bench_frame: %s\n", error);
    return 1;
  }
  glutDisplayFunc(NoDisplay);
  auto start = std::chrono::steady_clock::now();
  SetupScene();
  double setup = Milliseconds(std::chrono::steady_clock::now() - start);
  DrawTick(0);
  NextTick = 1;
  printf("malloc: %s; SetupScene %.1f ms; renderer %s\n", mode, setup, (const char *)glGetString(GL_RENDERER));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
