// The hashed vertex-normal pass gives bit for bit what comparing every vertex
// with every face corner gives.
// frosten-test-links: base
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

// The straightforward pass: every vertex against every corner of every face.
static void QuadraticVertexNormals(const SceneObject &o, Vector3 *out) {
  for (uint32_t i = 0; i < o.VertexCount; i++) {
    const Vector3 &p = o.Vertices[i];
    Vector3 sum{0, 0, 0};
    bool any = false;
    for (uint32_t f = 0; f < o.FaceCount; f++) {
      bool touches = false;
      for (int c = 0; c < 3; c++) {
        const Vector3 &q = o.Vertices[o.Faces[3 * f + c]];
        if (q.x == p.x && q.y == p.y && q.z == p.z) touches = true;
      }
      if (!touches) continue;
      any = true;
      sum.x += o.FaceNormals[f].x;
      sum.y += o.FaceNormals[f].y;
      sum.z += o.FaceNormals[f].z;
    }
    double l = std::sqrt((double)sum.x * sum.x + (double)sum.y * sum.y + (double)sum.z * sum.z);
    if (!any || l == 0) {
      out[i] = Vector3{0, 0, 1};
    } else {
      float r = (float)(1.0 / l);
      out[i] = Vector3{sum.x * r, sum.y * r, sum.z * r};
    }
  }
}

struct RandomMesh {
  std::vector<Vector3> Vertices, VertexNormals, FaceNormals;
  std::vector<uint32_t> Faces;
  SceneObject Object{};
};

// Vertices drawn from a small pool of positions, so that many share one;
// the pool holds -0 beside +0 and a NaN position.
static void MakeMesh(RandomMesh &m, uint32_t vertices, uint32_t faces, uint32_t pool, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> coordinate(-10, 10);
  std::vector<Vector3> positions(pool);
  for (auto &p : positions) p = Vector3{coordinate(random), coordinate(random), coordinate(random)};
  if (pool > 3) {
    positions[0] = Vector3{0, 1, 2};
    positions[1] = Vector3{-0.0f, 1, 2};
    positions[2] = Vector3{std::numeric_limits<float>::quiet_NaN(), 0, 0};
  }
  m.Vertices.resize(vertices);
  for (auto &v : m.Vertices) v = positions[random() % pool];
  m.Faces.resize(3 * faces);
  for (auto &c : m.Faces) c = random() % vertices;
  // Some faces with two or three corners on one position.
  for (uint32_t f = 0; f + 3 < faces; f += 7) m.Faces[3 * f + 1] = m.Faces[3 * f];
  for (uint32_t f = 0; f + 3 < faces; f += 11) m.Faces[3 * f + 2] = m.Faces[3 * f + 1] = m.Faces[3 * f];
  m.VertexNormals.resize(vertices);
  m.FaceNormals.resize(faces);
  m.Object.Vertices = m.Vertices.data();
  m.Object.Faces = m.Faces.data();
  m.Object.VertexNormals = m.VertexNormals.data();
  m.Object.FaceNormals = m.FaceNormals.data();
  m.Object.VertexCount = vertices;
  m.Object.FaceCount = faces;
}

TEST(VertexNormals, HashedPassMatchesQuadraticBitForBit) {
  struct Shape {
    uint32_t Vertices, Faces, Pool;
  } shapes[] = {{1, 0, 1}, {5, 1, 2}, {50, 80, 8}, {300, 500, 40}, {1000, 700, 300}, {2000, 3000, 50}};
  uint32_t seed = 1;
  for (const Shape &s : shapes) {
    for (int round = 0; round < 3; round++, seed++) {
      RandomMesh m;
      MakeMesh(m, s.Vertices, s.Faces, s.Pool, seed);
      computeFaceNormals(m.Object);
      computeVertexNormals(m.Object);
      std::vector<Vector3> expected(s.Vertices);
      QuadraticVertexNormals(m.Object, expected.data());
      ASSERT_EQ(memcmp(expected.data(), m.VertexNormals.data(), s.Vertices * sizeof(Vector3)), 0)
          << s.Vertices << " vertices, " << s.Faces << " faces, seed " << seed;
    }
  }
}

TEST(VertexNormals, SignedZeroSharesAndNaNStandsAlone) {
  RandomMesh m;
  m.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-0.0f, 0, 0}, {0, 0, 1}, {NAN, 0, 0}};
  m.Faces = {0, 1, 2, 3, 1, 4, 5, 1, 2};
  m.VertexNormals.resize(6);
  m.FaceNormals.resize(3);
  m.Object.Vertices = m.Vertices.data();
  m.Object.Faces = m.Faces.data();
  m.Object.VertexNormals = m.VertexNormals.data();
  m.Object.FaceNormals = m.FaceNormals.data();
  m.Object.VertexCount = 6;
  m.Object.FaceCount = 3;
  computeFaceNormals(m.Object);
  computeVertexNormals(m.Object);
  // -0 equals +0: vertices 0 and 3 share faces 0 and 1.
  EXPECT_EQ(memcmp(&m.VertexNormals[0], &m.VertexNormals[3], sizeof(Vector3)), 0);
  EXPECT_LT(m.VertexNormals[0].z, 1.0f);
  // A NaN position matches no corner, not even its own.
  EXPECT_EQ(m.VertexNormals[5].x, 0.0f);
  EXPECT_EQ(m.VertexNormals[5].z, 1.0f);
  std::vector<Vector3> expected(6);
  QuadraticVertexNormals(m.Object, expected.data());
  EXPECT_EQ(memcmp(expected.data(), m.VertexNormals.data(), sizeof(Vector3) * 6), 0);
}
