// A large test mesh for the scene benchmarks: a wavy grid in which every
// position is shared by two vertices, as along texture seams.
#pragma once

#include "render/vector_math.h"

#include <cmath>
#include <cstdint>
#include <vector>

struct BenchMesh {
  std::vector<Vector3> Vertices;
  std::vector<uint32_t> Faces;
};

static inline BenchMesh MakeBenchMesh(uint32_t vertices, uint32_t faces) {
  const uint32_t width = 256;
  BenchMesh m;
  m.Vertices.resize(vertices);
  for (uint32_t i = 0; i < vertices; i++) {
    uint32_t p = i / 2, x = p % width, y = p / width;
    m.Vertices[i] = Vector3{(float)x, (float)y, std::sin(x * 0.1f) * std::cos(y * 0.1f)};
  }
  uint32_t rows = (vertices / 2) / width;
  uint32_t cells = (width - 1) * (rows > 1 ? rows - 1 : 1);
  auto vertex = [&](uint32_t x, uint32_t y, uint32_t f) {
    uint32_t v = 2 * (y * width + x) + (f & 1);
    return v < vertices ? v : vertices - 1;
  };
  m.Faces.resize(3 * faces);
  for (uint32_t f = 0; f < faces; f++) {
    uint32_t c = (f / 2) % cells, x = c % (width - 1), y = c / (width - 1);
    uint32_t *t = &m.Faces[3 * f];
    if (f & 1) {
      t[0] = vertex(x, y, f), t[1] = vertex(x + 1, y + 1, f), t[2] = vertex(x, y + 1, f);
    } else {
      t[0] = vertex(x, y, f), t[1] = vertex(x + 1, y, f), t[2] = vertex(x + 1, y + 1, f);
    }
  }
  return m;
}
