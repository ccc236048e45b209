// The vertex-normal pass alone, on meshes of 65,535 and twice as many
// vertices and faces (in memory; the file format stops at 65,535), and the
// quadratic comparison it replaced, on smaller meshes.
// frosten-test-links: base
#include "bench/scene_mesh.h"
#include "scene/scene.h"

#include <benchmark/benchmark.h>

#include <cmath>

struct NormalsFixture {
  BenchMesh Mesh;
  std::vector<Vector3> FaceNormals, VertexNormals;
  SceneObject Object{};

  explicit NormalsFixture(uint32_t count) : Mesh(MakeBenchMesh(count, count)) {
    FaceNormals.resize(count);
    VertexNormals.resize(count);
    Object.Vertices = Mesh.Vertices.data();
    Object.Faces = Mesh.Faces.data();
    Object.FaceNormals = FaceNormals.data();
    Object.VertexNormals = VertexNormals.data();
    Object.VertexCount = Object.FaceCount = count;
    computeFaceNormals(Object);
  }
};

static void BM_VertexNormals(benchmark::State &state) {
  NormalsFixture fixture((uint32_t)state.range(0));
  for (auto _ : state) {
    computeVertexNormals(fixture.Object);
    benchmark::DoNotOptimize(fixture.VertexNormals.data());
  }
}
BENCHMARK(BM_VertexNormals)->Arg(65535)->Arg(131070)->Unit(benchmark::kMillisecond);

// Every vertex against every corner of every face.
static void QuadraticVertexNormals(SceneObject &o) {
  for (uint32_t i = 0; i < o.VertexCount; i++) {
    const Vector3 &p = o.Vertices[i];
    Vector3 sum{0, 0, 0};
    for (uint32_t f = 0; f < o.FaceCount; f++) {
      const uint32_t *c = o.Faces + 3 * f;
      bool touches = false;
      for (int k = 0; k < 3; k++) {
        const Vector3 &q = o.Vertices[c[k]];
        touches |= q.x == p.x && q.y == p.y && q.z == p.z;
      }
      if (!touches) continue;
      sum.x += o.FaceNormals[f].x;
      sum.y += o.FaceNormals[f].y;
      sum.z += o.FaceNormals[f].z;
    }
    double l = std::sqrt((double)sum.x * sum.x + (double)sum.y * sum.y + (double)sum.z * sum.z);
    float r = l == 0 ? 0 : (float)(1.0 / l);
    o.VertexNormals[i] = l == 0 ? Vector3{0, 0, 1} : Vector3{sum.x * r, sum.y * r, sum.z * r};
  }
}

static void BM_QuadraticVertexNormals(benchmark::State &state) {
  NormalsFixture fixture((uint32_t)state.range(0));
  for (auto _ : state) {
    QuadraticVertexNormals(fixture.Object);
    benchmark::DoNotOptimize(fixture.VertexNormals.data());
  }
}
BENCHMARK(BM_QuadraticVertexNormals)->Arg(4096)->Arg(8192)->Unit(benchmark::kMillisecond);
// The full-size mesh once: several seconds.
BENCHMARK(BM_QuadraticVertexNormals)->Arg(65535)->Iterations(1)->Unit(benchmark::kMillisecond);
