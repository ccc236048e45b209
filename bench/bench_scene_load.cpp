// LoadScene on a file with one or two meshes of up to 65,535 vertices and
// 65,535 faces each: reading, normals and bounds.
// frosten-test-links: base
#include "bench/scene_mesh.h"
#include "scene/scene.h"
#include "tests/chunk_writer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

static std::string WriteBenchFile(uint32_t count, int meshes) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  BenchMesh mesh = MakeBenchMesh(count, count);
  for (int m = 0; m < meshes; m++) {
    w.Begin(NAMED_OBJECT);
    w.Name("Mesh" + std::to_string(m));
    w.Begin(N_TRI_OBJECT);
    w.Begin(POINT_ARRAY);
    w.U16((uint16_t)count);
    for (const Vector3 &v : mesh.Vertices) w.Floats({v.x, v.y, v.z});
    w.End();
    w.Begin(TEX_VERTS);
    w.U16((uint16_t)count);
    for (uint32_t i = 0; i < count; i++) w.Floats({(float)(i % 256) / 256, (float)(i / 256) / 256});
    w.End();
    w.Begin(FACE_ARRAY);
    w.U16((uint16_t)count);
    for (uint32_t f = 0; f < count; f++) {
      w.U16((uint16_t)mesh.Faces[3 * f]);
      w.U16((uint16_t)mesh.Faces[3 * f + 1]);
      w.U16((uint16_t)mesh.Faces[3 * f + 2]);
      w.U16(7);
    }
    w.End();
    w.MeshMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
    w.End();
    w.End();
  }
  w.End();
  w.End();
  std::string path = "/tmp/frosten_bench_" + std::to_string(count) + "_" + std::to_string(meshes) + ".3ds";
  FILE *f = fopen(path.c_str(), "wb");
  fwrite(w.Bytes.data(), 1, w.Bytes.size(), f);
  fclose(f);
  return path;
}

static void BM_LoadScene(benchmark::State &state) {
  uint32_t count = (uint32_t)state.range(0);
  int meshes = (int)state.range(1);
  std::string path = WriteBenchFile(count, meshes);
  for (auto _ : state) {
    Scene scene;
    LoadScene(path.c_str(), scene);
    benchmark::DoNotOptimize(scene.Objects[0].VertexNormals[0]);
    FreeScene(scene);
  }
  state.counters["vertices"] = (double)count * meshes;
  remove(path.c_str());
}
BENCHMARK(BM_LoadScene)->Args({32767, 1})->Args({65535, 1})->Args({65535, 2})->Unit(benchmark::kMillisecond);
