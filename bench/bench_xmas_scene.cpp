// LoadScene on the show's scene, data/xmas.3ds: reading, normals and bounds
// of its 98 meshes and the keyframer's tracks.
// frosten-test-links: base
#include "scene/scene.h"

#include <benchmark/benchmark.h>

static void BM_LoadShowScene(benchmark::State &state) {
  uint32_t faces = 0;
  for (auto _ : state) {
    Scene scene;
    LoadScene(FROSTEN_SOURCE_DIR "/data/xmas.3ds", scene);
    faces = 0;
    for (uint32_t i = 0; i < scene.ObjectCount; i++) faces += scene.Objects[i].FaceCount;
    benchmark::DoNotOptimize(scene.Objects[0].VertexNormals[0]);
    FreeScene(scene);
  }
  state.counters["faces"] = faces;
}
BENCHMARK(BM_LoadShowScene)->Unit(benchmark::kMillisecond);
