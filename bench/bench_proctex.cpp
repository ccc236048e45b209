// Times the show's three generated textures, each from TexSetSize to the
// finished layer 4 and TexRelease, and the three in the show's order. They
// run at every start of the show: together they should stay well under 50 ms.
// frosten-test-links: base
#include "effects/proctex.h"
#include "effects/proctex_recipes.h"

#include <benchmark/benchmark.h>

static void RunAndRelease(benchmark::State &state, void (*recipe)()) {
  for (auto _ : state) {
    recipe();
    benchmark::DoNotOptimize(TexGen.Layers[TEX_RESULT_LAYER].data());
    TexRelease();
  }
}

static void BM_ReflectionRecipe(benchmark::State &state) { RunAndRelease(state, RunReflectionRecipe); }
static void BM_TreeRecipe(benchmark::State &state) { RunAndRelease(state, RunTreeRecipe); }
static void BM_SurfaceRecipe(benchmark::State &state) { RunAndRelease(state, RunSurfaceRecipe); }

static void AllRecipes() {
  RunReflectionRecipe();
  TexRelease();
  RunTreeRecipe();
  TexRelease();
  RunSurfaceRecipe();
}

static void BM_AllThreeRecipes(benchmark::State &state) { RunAndRelease(state, AllRecipes); }

BENCHMARK(BM_ReflectionRecipe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeRecipe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceRecipe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllThreeRecipes)->Unit(benchmark::kMillisecond);
