// 3DS files written by a third-party program (tests/data, made by
// make_3ds_fixtures.sh with assimp) load with the meshes, counts, corner
// positions and texture coordinates that the same program reads from them.
// frosten-test-links: base
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ExpectedMesh {
  std::string Name;
  uint32_t Vertices = 0, Faces = 0;
  std::vector<float> Corners;  // x, y, z, u, v per face corner
};

static std::vector<ExpectedMesh> ReadExpected(const std::string &path) {
  std::vector<ExpectedMesh> meshes;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "mesh") {
      meshes.emplace_back();
      words >> meshes.back().Name >> meshes.back().Vertices >> meshes.back().Faces;
    } else if (kind == "corner") {
      for (int i = 0; i < 5; i++) {
        float f;
        words >> f;
        meshes.back().Corners.push_back(f);
      }
    }
  }
  return meshes;
}

static void CheckFixture(const std::string &name) {
  std::string base = std::string(FROSTEN_SOURCE_DIR) + "/tests/data/" + name;
  std::vector<ExpectedMesh> expected = ReadExpected(base + ".expected");
  ASSERT_FALSE(expected.empty()) << name;
  Scene scene;
  LoadScene((base + ".3ds").c_str(), scene);
  uint32_t meshes = 0;
  for (uint32_t i = 0; i < scene.ObjectCount; i++) meshes += !scene.Objects[i].IsDummy;
  EXPECT_EQ(meshes, expected.size()) << name;
  for (const ExpectedMesh &e : expected) {
    const SceneObject *o = nullptr;
    for (uint32_t i = 0; i < scene.ObjectCount; i++)
      if (SameShortString(scene.Objects[i].Name, e.Name.c_str())) o = &scene.Objects[i];
    ASSERT_NE(o, nullptr) << e.Name;
    EXPECT_EQ(o->VertexCount, e.Vertices) << e.Name;
    ASSERT_EQ(o->FaceCount, e.Faces) << e.Name;
    for (uint32_t c = 0; c < 3 * e.Faces; c++) {
      uint32_t v = o->Faces[c];
      const float *want = &e.Corners[5 * c];
      EXPECT_NEAR(o->Vertices[v].x, want[0], 1e-6) << e.Name << " corner " << c;
      EXPECT_NEAR(o->Vertices[v].y, want[1], 1e-6) << e.Name << " corner " << c;
      EXPECT_NEAR(o->Vertices[v].z, want[2], 1e-6) << e.Name << " corner " << c;
      EXPECT_NEAR(o->TexCoords[2 * v], want[3], 1e-6) << e.Name << " corner " << c;
      EXPECT_NEAR(-o->TexCoords[2 * v + 1], want[4], 1e-6) << e.Name << " corner " << c;
    }
    // Vertices that share a position share a normal, and every normal is unit.
    for (uint32_t a = 0; a < o->VertexCount; a++) {
      const Vector3 &n = o->VertexNormals[a];
      EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-5) << e.Name << " vertex " << a;
      for (uint32_t b = a + 1; b < o->VertexCount; b++) {
        const Vector3 &p = o->Vertices[a], &q = o->Vertices[b];
        if (p.x == q.x && p.y == q.y && p.z == q.z) {
          EXPECT_EQ(n.x, o->VertexNormals[b].x);
          EXPECT_EQ(n.y, o->VertexNormals[b].y);
          EXPECT_EQ(n.z, o->VertexNormals[b].z);
        }
      }
    }
  }
  FreeScene(scene);
}

TEST(ThirdParty3ds, AssimpCube) { CheckFixture("cube"); }
TEST(ThirdParty3ds, AssimpHouse) { CheckFixture("house"); }
TEST(ThirdParty3ds, AssimpSphereWithSeam) { CheckFixture("sphere"); }

TEST(ThirdParty3ds, AssimpNodesWithoutTracks) {
  Scene scene;
  LoadScene(FROSTEN_SOURCE_DIR "/tests/data/house.3ds", scene);
  // The writer names a node per source object and file; only the mesh nodes
  // match objects, and none carries a track.
  ASSERT_EQ(scene.ObjectCount, 2u);
  EXPECT_EQ(scene.CameraCount, 0u);
  EXPECT_EQ(scene.LightCount, 0u);
  for (uint32_t i = 0; i < 2; i++) {
    EXPECT_EQ(scene.Objects[i].PositionTrack.KeyCount, 0u);
    EXPECT_FALSE(scene.Objects[i].IsDummy);
  }
  EXPECT_EQ(scene.Objects[0].ParentIndex, 1u);
  EXPECT_EQ(scene.Objects[1].ParentIndex, 3u);
  FreeScene(scene);
}
