// Times the scene set-up as the show runs it once at start-up, and its
// largest parts: the scene load, each file texture (decode and upload) and
// each generated texture (recipe and upload). Needs an X display (a hidden
// window gives the GL context) and reads data/ from the source folder.
#include "effects/particles.h"
#include "effects/proctex.h"
#include "effects/proctex_recipes.h"
#include "effects/setup.h"
#include "launcher/glcaps.h"
#include "scene/scene.h"
#include "textures/texture.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <unistd.h>

static bool OpenWindow() {
  static int state = 0;
  if (state == 0) {
    state = 2;
    if (getenv("DISPLAY") && getenv("DISPLAY")[0] && chdir(FROSTEN_SOURCE_DIR) == 0) {
      int argc = 1;
      char name[] = "bench_setup";
      char *argv[] = {name, nullptr};
      glutInit(&argc, argv);
      glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
      glutInitWindowSize(64, 48);
      glutCreateWindow("bench");
      glutHideWindow();
      DetectGLCapabilities();
      state = 1;
    }
  }
  return state == 1;
}

#define NEED_WINDOW(state)                   \
  if (!OpenWindow()) {                       \
    state.SkipWithError("no X display");     \
    return;                                  \
  }

static void ReleaseShowScene() {
  free(ShowScene.ParticleSystems);
  FreeScene(ShowScene);
  GLuint names[] = {FlareTexture, SnowTexture,    ShineTexture,  ReflectionMap,
                    TreeTexture,  BranchTexture, SurfaceTexture, BannerTexture};
  glDeleteTextures(8, names);
}

static void BM_SetupScene(benchmark::State &state) {
  NEED_WINDOW(state);
  for (auto _ : state) {
    SetupScene();
    glFinish();
    state.PauseTiming();
    ReleaseShowScene();
    state.ResumeTiming();
  }
}

static void BM_LoadScene(benchmark::State &state) {
  NEED_WINDOW(state);
  for (auto _ : state) {
    LoadScene("data\\xmas.3ds", ShowScene);
    state.PauseTiming();
    FreeScene(ShowScene);
    state.ResumeTiming();
  }
}

// One file texture as the set-up makes it.
static void FileTexture(benchmark::State &state, const char *colour, const char *alpha, GLenum filter, bool compress) {
  NEED_WINDOW(state);
  for (auto _ : state) {
    GLuint name = loadTextureWithAlpha(colour, alpha, GL_RGBA, filter, GL_REPEAT, false, compress);
    glFinish();
    state.PauseTiming();
    glDeleteTextures(1, &name);
    state.ResumeTiming();
  }
}

static void BM_FlareTexture(benchmark::State &s) { FileTexture(s, "data\\flareblu.hwl", "", MipmapFilter, true); }
static void BM_SnowTexture(benchmark::State &s) { FileTexture(s, "data\\snowflak.hwl", "", MipmapFilter, true); }
static void BM_ShineTexture(benchmark::State &s) { FileTexture(s, "data\\hwlshin5.hwl", "", MipmapFilter, true); }
static void BM_BranchTexture(benchmark::State &s) {
  FileTexture(s, "data\\xmastree.hwl", "data\\xmastrea.hwl", PlainFilter, true);
}
static void BM_BannerTexture(benchmark::State &s) {
  FileTexture(s, "data\\xmasband.hwl", "data\\xmasbana.hwl", PlainFilter, false);
}

// One generated texture: the recipe, then its upload, timed apart.
static void GeneratedTexture(benchmark::State &state, void (*recipe)(), bool uploadOnly) {
  NEED_WINDOW(state);
  for (auto _ : state) {
    if (uploadOnly) state.PauseTiming();
    recipe();
    if (uploadOnly) state.ResumeTiming();
    GLuint name = createTexture(TexGen.Layers[TEX_RESULT_LAYER].data(), (uint32_t)TexGen.Width,
                                (uint32_t)TexGen.Height, GL_RGBA, MipmapFilter, GL_REPEAT, 255, true, false, true);
    glFinish();
    state.PauseTiming();
    TexRelease();
    glDeleteTextures(1, &name);
    state.ResumeTiming();
  }
}

static void BM_ReflectionMap(benchmark::State &s) { GeneratedTexture(s, RunReflectionRecipe, false); }
static void BM_TreeTexture(benchmark::State &s) { GeneratedTexture(s, RunTreeRecipe, false); }
static void BM_SurfaceTexture(benchmark::State &s) { GeneratedTexture(s, RunSurfaceRecipe, false); }
static void BM_UploadOnly256(benchmark::State &s) { GeneratedTexture(s, RunSurfaceRecipe, true); }

BENCHMARK(BM_SetupScene)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadScene)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlareTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnowTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShineTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReflectionMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BranchTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BannerTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UploadOnly256)->Unit(benchmark::kMillisecond);
