// 3DS files written by a third-party program (tests/data, made by
// make_3ds_fixtures.sh with assimp) load with the meshes, counts, corner
// positions and texture coordinates that the same program reads from them;
// and the show's own scene, written by frosten-scenegen, reads in two
// third-party readers (assimp and lib3ds) with the meshes and counts that
// our loader finds.
// frosten-test-links: base
#include "scene/scene.h"

#include <assimp/cimport.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <array>
#include <map>
#include <set>

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

// ------------------------------------------------------------ the show's scene

struct MeshCounts {
  uint32_t Vertices = 0, Faces = 0;
  bool operator==(const MeshCounts &o) const { return Vertices == o.Vertices && Faces == o.Faces; }
};

static const char SHOW_SCENE[] = FROSTEN_SOURCE_DIR "/data/xmas.3ds";

static std::map<std::string, MeshCounts> OurMeshes() {
  Scene scene;
  LoadScene(SHOW_SCENE, scene);
  std::map<std::string, MeshCounts> meshes;
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (!scene.Objects[i].IsDummy) meshes[scene.Objects[i].Name.Text] = {scene.Objects[i].VertexCount, scene.Objects[i].FaceCount};
  FreeScene(scene);
  return meshes;
}

// lib3ds keeps the point and face lists as the file has them.
static std::map<std::string, MeshCounts> Lib3dsMeshes() {
  std::map<std::string, MeshCounts> meshes;
  Lib3dsFile *file = lib3ds_file_load(SHOW_SCENE);
  if (!file) return meshes;
  for (Lib3dsMesh *mesh = file->meshes; mesh; mesh = mesh->next) meshes[mesh->name] = {mesh->points, mesh->faces};
  lib3ds_file_free(file);
  return meshes;
}

// assimp hangs each mesh on the keyframer node of its name and gives every
// face corner a vertex of its own: the file's vertices are the distinct
// pairs of position and texture coordinates among the corners.
static void CollectAssimp(const aiScene *scene, const aiNode *node, std::map<std::string, MeshCounts> &meshes) {
  for (unsigned i = 0; i < node->mNumMeshes; i++) {
    const aiMesh *mesh = scene->mMeshes[node->mMeshes[i]];
    std::set<std::array<float, 5>> corners;
    for (unsigned f = 0; f < mesh->mNumFaces; f++)
      for (unsigned c = 0; c < mesh->mFaces[f].mNumIndices; c++) {
        unsigned v = mesh->mFaces[f].mIndices[c];
        const aiVector3D &p = mesh->mVertices[v];
        aiVector3D t = mesh->mTextureCoords[0] ? mesh->mTextureCoords[0][v] : aiVector3D(0, 0, 0);
        corners.insert({p.x, p.y, p.z, t.x, t.y});
      }
    MeshCounts &m = meshes[node->mName.C_Str()];
    m.Vertices += (uint32_t)corners.size();
    m.Faces += mesh->mNumFaces;
  }
  for (unsigned i = 0; i < node->mNumChildren; i++) CollectAssimp(scene, node->mChildren[i], meshes);
}

static std::map<std::string, MeshCounts> AssimpMeshes() {
  std::map<std::string, MeshCounts> meshes;
  const aiScene *scene = aiImportFile(SHOW_SCENE, 0);
  if (!scene) return meshes;
  CollectAssimp(scene, scene->mRootNode, meshes);
  aiReleaseImport(scene);
  return meshes;
}

static void ExpectSameMeshes(const std::map<std::string, MeshCounts> &ours,
                             const std::map<std::string, MeshCounts> &theirs, const char *reader) {
  EXPECT_EQ(theirs.size(), ours.size()) << reader;
  for (const auto &[name, counts] : ours) {
    auto found = theirs.find(name);
    if (found == theirs.end()) {
      ADD_FAILURE() << reader << " has no mesh " << name;
      continue;
    }
    EXPECT_EQ(found->second.Vertices, counts.Vertices) << reader << ": " << name;
    EXPECT_EQ(found->second.Faces, counts.Faces) << reader << ": " << name;
  }
}

TEST(ThirdParty3ds, ShowSceneReadsAlikeInLib3dsAndAssimp) {
  std::map<std::string, MeshCounts> ours = OurMeshes();
  ASSERT_GT(ours.size(), 20u);
  ExpectSameMeshes(ours, Lib3dsMeshes(), "lib3ds");
  ExpectSameMeshes(ours, AssimpMeshes(), "assimp");
}
