// The tests' scenes in 3DS chunk form, built from the pieces below, and the
// loading of hand-written chunks. BuildTestScene: a small Christmas scene,
// for the placeholder data file and for the tests that set up and draw a
// whole scene; BuildRenderScene (further down): the rendered-picture
// tests' scene. World z is up.
//
// Objects, in file order: "Ground" (a gently rolling snow field, 50 x 50;
// its farthest corner stays nearer than the far plane from every camera
// position, since the view test culls a mesh whose eight box corners all lie
// beyond it or behind the eye), "Tree" (the trunk), "Ast" (two stacked cones of branches), then in the
// keyframer a dummy "KugelHalter" turning about z once per 2200 ticks with
// its child "Kugel" (an ornament sphere). Two coloured lights, "Licht01"
// and "Licht02", each with a short position track, and one camera,
// "Camera01", circling the tree at about 14 units: eye keys up to tick 1650
// (the set-up adds the closing key at 2200), target and roll tracks whose
// key at 2200 repeats their first.
#pragma once

#include "scene/chunk_ids.h"
#include "scene/scene.h"
#include "tests/chunk_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

struct TestSceneOptions {
  bool Lights = true;
  bool Camera = true;
};

struct TestMesh {
  std::vector<float> Points;  // x, y, z
  std::vector<float> Uv;      // u, v per point
  std::vector<uint16_t> Faces;
};

// One key of a track chunk: frame, no spline flags, the values.
static inline void TestKey(ChunkWriter &w, int32_t frame, std::initializer_list<float> values) {
  w.U32((uint32_t)frame);
  w.U16(0);
  w.Floats(values);
}

// A named mesh whose local frame is the world axes at origin (ox, oy, oz).
static inline void TestMeshChunk(ChunkWriter &w, const std::string &name, const TestMesh &m, float ox, float oy,
                                 float oz) {
  w.Begin(NAMED_OBJECT);
  w.Name(name);
  w.Begin(N_TRI_OBJECT);
  w.Points(m.Points);
  w.Begin(TEX_VERTS);
  w.U16((uint16_t)(m.Uv.size() / 2));
  for (float f : m.Uv) w.F32(f);
  w.End();
  w.FaceList(m.Faces);
  w.MeshMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1, ox, oy, oz});
  w.End();
  w.End();
}

// A grid of (n + 1) x (n + 1) points over [-half, half]^2 at height h(x, y),
// faces counter-clockwise seen from above.
template <typename Height>
static TestMesh TestGround(int n, float half, Height h) {
  TestMesh m;
  for (int j = 0; j <= n; j++)
    for (int i = 0; i <= n; i++) {
      float x = -half + 2 * half * i / n, y = -half + 2 * half * j / n;
      m.Points.insert(m.Points.end(), {x, y, h(x, y)});
      m.Uv.insert(m.Uv.end(), {x / 5, y / 5});
    }
  for (int j = 0; j < n; j++)
    for (int i = 0; i < n; i++) {
      uint16_t a = (uint16_t)(j * (n + 1) + i), b = (uint16_t)(a + 1), c = (uint16_t)(a + n + 1), d = (uint16_t)(c + 1);
      m.Faces.insert(m.Faces.end(), {a, b, d, a, d, c});
    }
  return m;
}

// A frustum about the z axis at (cx, cy) from radius r0 at z0 to r1 at z1
// (r1 = 0 makes a cone), sides facing out; the seam repeats its points so
// that u runs 0 ... 1 around. Appends to m.
static inline void TestFrustum(TestMesh &m, float cx, float cy, float z0, float r0, float z1, float r1, int sides) {
  const float pi = 3.14159265f;
  uint16_t base = (uint16_t)(m.Points.size() / 3);
  for (int i = 0; i <= sides; i++) {
    float a = 2 * pi * i / sides, c = std::cos(a), s = std::sin(a);
    m.Points.insert(m.Points.end(), {cx + r0 * c, cy + r0 * s, z0, cx + r1 * c, cy + r1 * s, z1});
    m.Uv.insert(m.Uv.end(), {(float)i / sides, 1, (float)i / sides, 0});
  }
  for (int i = 0; i < sides; i++) {
    uint16_t a = (uint16_t)(base + 2 * i), b = (uint16_t)(a + 1), c = (uint16_t)(a + 2), d = (uint16_t)(a + 3);
    m.Faces.insert(m.Faces.end(), {a, c, d, a, d, b});
  }
}

// A latitude-longitude sphere of radius r around (cx, cy, cz).
static inline TestMesh TestSphere(float cx, float cy, float cz, float r, int slices, int stacks) {
  const float pi = 3.14159265f;
  TestMesh m;
  for (int j = 0; j <= stacks; j++) {
    float t = pi * j / stacks, z = std::cos(t), rr = std::sin(t);
    for (int i = 0; i <= slices; i++) {
      float a = 2 * pi * i / slices;
      m.Points.insert(m.Points.end(), {cx + r * rr * std::cos(a), cy + r * rr * std::sin(a), cz + r * z});
      m.Uv.insert(m.Uv.end(), {(float)i / slices, (float)j / stacks});
    }
  }
  for (int j = 0; j < stacks; j++)
    for (int i = 0; i < slices; i++) {
      uint16_t a = (uint16_t)(j * (slices + 1) + i), b = (uint16_t)(a + 1), c = (uint16_t)(a + slices + 1),
               d = (uint16_t)(c + 1);
      m.Faces.insert(m.Faces.end(), {a, c, d, a, d, b});
    }
  return m;
}

// A mesh without texture coordinates whose local frame is the world axes.
static inline void TestPlainMeshChunk(ChunkWriter &w, const std::string &name, std::initializer_list<float> points,
                                      std::initializer_list<uint16_t> faces) {
  w.Begin(NAMED_OBJECT);
  w.Name(name);
  w.Begin(N_TRI_OBJECT);
  w.Points(points);
  w.FaceList(faces);
  w.MeshMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  w.End();
  w.End();
}

// Loads the chunks written so far as a scene file of the given name.
static inline Scene LoadTestChunks(const ChunkWriter &w, const char *name = "test.3ds") {
  Scene scene;
  LoadSceneMemory(w.Bytes.data(), (int32_t)w.Bytes.size(), name, scene);
  return scene;
}

// The opening of a scene file: the main and editor chunks and the ambient
// light (grey level).
static inline void TestSceneBegin(ChunkWriter &w, float ambient) {
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(AMBIENT_LIGHT);
  w.ColourF(ambient, ambient, ambient);
  w.End();
}

// A camera named "Camera01" at eye looking at target, lens 35.
static inline void TestCameraChunk(ChunkWriter &w, const float eye[3], const float target[3]) {
  w.Begin(NAMED_OBJECT);
  w.Name("Camera01");
  w.Begin(N_CAMERA);
  w.Floats({eye[0], eye[1], eye[2], target[0], target[1], target[2], 0, 35});
  w.End();
  w.End();
}

// Ends the editor chunks and opens the keyframer, its segment 0 to 2200.
static inline void TestKeyframerBegin(ChunkWriter &w) {
  w.End();  // EDIT3DS
  w.Begin(KFDATA);
  w.Begin(KFSEG);
  w.U32(0);
  w.U32(2200);
  w.End();
}

static inline void TestLightChunk(ChunkWriter &w, const std::string &name, float x, float y, float z, float r,
                                  float g, float b) {
  w.Begin(NAMED_OBJECT);
  w.Name(name);
  w.Begin(N_DIRECT_LIGHT);
  w.Floats({x, y, z});
  w.ColourF(r, g, b);
  w.End();
  w.End();
}

// An object node with position, rotation (relative angle-axis keys) and
// scale tracks; the position is relative to the parent.
static inline void TestObjectNode(ChunkWriter &w, const std::string &name, const std::string &instance,
                                  uint16_t parent, float px, float py, float pz,
                                  const std::vector<std::pair<int32_t, float>> &turnsAboutZ) {
  w.Begin(OBJECT_NODE_TAG);
  w.NodeHeader(name, parent);
  if (!instance.empty()) {
    w.Begin(INSTANCE_NAME);
    w.Name(instance);
    w.End();
  }
  w.Begin(PIVOT);
  w.Floats({0, 0, 0});
  w.End();
  w.TrackHeader(POS_TRACK_TAG, 1);
  TestKey(w, 0, {px, py, pz});
  w.End();
  w.TrackHeader(ROT_TRACK_TAG, (uint32_t)(turnsAboutZ.empty() ? 1 : turnsAboutZ.size()));
  if (turnsAboutZ.empty()) TestKey(w, 0, {0, 0, 0, 1});
  for (auto &turn : turnsAboutZ) TestKey(w, turn.first, {turn.second, 0, 0, 1});
  w.End();
  w.TrackHeader(SCL_TRACK_TAG, 1);
  TestKey(w, 0, {1, 1, 1});
  w.End();
  w.End();
}

// A vector track chunk of (frame, x, y, z) keys.
static inline void TestVectorTrack(ChunkWriter &w, uint16_t id, const std::vector<std::vector<float>> &keys) {
  w.TrackHeader(id, (uint32_t)keys.size());
  for (auto &k : keys) {
    w.U32((uint32_t)(int32_t)k[0]);
    w.U16(0);
    for (size_t i = 1; i < k.size(); i++) w.F32(k[i]);
  }
  w.End();
}

// Eye positions of the camera's keys at ticks 0, 550, 1100 and 1650; the
// scene set-up closes the loop with a copy of the first at 2200.
static const float TestCameraEye[4][3] = {{14, 0, 5}, {0, 13, 6.5f}, {-14, 0, 4}, {0, -13, 6}};
static const float TestCameraTarget[3] = {0, 0, 3};

static inline std::vector<uint8_t> BuildTestScene(const TestSceneOptions &options = TestSceneOptions()) {
  const float pi = 3.14159265f;
  ChunkWriter w;
  TestSceneBegin(w, 0.3f);

  TestMeshChunk(w, "Ground",
                TestGround(12, 25, [](float x, float y) { return 0.4f * std::sin(x * 0.3f) * std::cos(y * 0.25f); }),
                0, 0, 0);
  TestMesh trunk;
  TestFrustum(trunk, 0, 0, -0.2f, 0.35f, 2.5f, 0.25f, 10);
  TestMeshChunk(w, "Tree", trunk, 0, 0, 0);
  TestMesh branches;
  TestFrustum(branches, 0, 0, 1.0f, 2.4f, 4.6f, 0, 16);
  TestFrustum(branches, 0, 0, 3.2f, 1.7f, 6.8f, 0, 16);
  TestMeshChunk(w, "Ast", branches, 0, 0, 0);
  TestMeshChunk(w, "Kugel", TestSphere(1.6f, 0, 3.0f, 0.45f, 16, 10), 1.6f, 0, 3.0f);
  if (options.Lights) {
    TestLightChunk(w, "Licht01", 4, -3, 4, 1.0f, 0.7f, 0.55f);
    TestLightChunk(w, "Licht02", -3, 3, 5, 0.6f, 0.75f, 1.0f);
  }
  if (options.Camera) TestCameraChunk(w, TestCameraEye[0], TestCameraTarget);
  TestKeyframerBegin(w);
  // Node numbers: Ground 0, Tree 1, Ast 2, the dummy 3, Kugel 4.
  TestObjectNode(w, "Ground", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "Tree", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "Ast", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "$$$DUMMY", "KugelHalter", 0xFFFF, 0, 0, 0,
                 {{0, 0}, {550, pi / 2}, {1100, pi / 2}, {1650, pi / 2}, {2200, pi / 2}});
  TestObjectNode(w, "Kugel", "", 3, 1.6f, 0, 3.0f, {});
  if (options.Lights) {
    w.Begin(LIGHT_NODE_TAG);
    w.NodeHeader("Licht01", 0xFFFF);
    TestVectorTrack(w, POS_TRACK_TAG, {{0, 4, -3, 4}, {1100, 3, -4, 5}, {2200, 4, -3, 4}});
    w.End();
    w.Begin(LIGHT_NODE_TAG);
    w.NodeHeader("Licht02", 0xFFFF);
    TestVectorTrack(w, POS_TRACK_TAG, {{0, -3, 3, 5}, {1100, -4, 2, 4}, {2200, -3, 3, 5}});
    w.End();
  }
  if (options.Camera) {
    w.Begin(CAMERA_NODE_TAG);
    w.NodeHeader("Camera01", 0xFFFF);
    std::vector<std::vector<float>> eye;
    for (int i = 0; i < 4; i++) eye.push_back({550.0f * i, TestCameraEye[i][0], TestCameraEye[i][1], TestCameraEye[i][2]});
    TestVectorTrack(w, POS_TRACK_TAG, eye);
    TestVectorTrack(w, ROLL_TRACK_TAG, {{0, 0}, {1100, 4}, {2200, 0}});
    w.End();
    w.Begin(TARGET_NODE_TAG);
    w.NodeHeader("Camera01", 0xFFFF);
    TestVectorTrack(w, POS_TRACK_TAG, {{0, 0, 0, 3}, {1100, 0, 0, 3.5f}, {2200, 0, 0, 3}});
    w.End();
  }
  w.End();  // KFDATA
  w.End();  // MAIN3DS
  return w.Bytes;
}

// The second scene: a small one for the rendered-picture tests, with everything at known
// places in front of a camera that looks along +y from (0, -10, 2) at
// (0, 0, 2), world z up. At distance 10 the view is about +-5.5 wide and
// +-4.1 high.
//
// Objects in list order: "AstPane" (transparent, in front of the wall and
// reaching above it, listed first), "Wall" (opaque, up to z = 4), "TreeLeft" (far left, out of view),
// "Ledge" (from left of the view into it), "Kugel" (a sphere, child of the
// dummy "Halter", which is turned 180 degrees about z: the sphere sits at
// x = 3.5, z = 2 only if the parent's turn is applied), then the dummy.
// One white light, one camera whose eye moves between ticks 0 and 1100.
static const float RenderKugelCentre[3] = {3.5f, 0, 2};
static const float RENDER_KUGEL_RADIUS = 0.8f;

// A rectangle in the plane y = const, facing -y (towards the camera).
static inline TestMesh RenderQuad(float x0, float x1, float y, float z0, float z1) {
  TestMesh m;
  m.Points = {x0, y, z0, x1, y, z0, x1, y, z1, x0, y, z1};
  m.Uv = {0, 0, 1, 0, 1, 1, 0, 1};
  m.Faces = {0, 1, 2, 0, 2, 3};
  return m;
}

static inline std::vector<uint8_t> BuildRenderScene() {
  const float pi = 3.14159265f;
  ChunkWriter w;
  TestSceneBegin(w, 0.2f);
  TestMeshChunk(w, "AstPane", RenderQuad(-1, 1, 0, 1, 5), 0, 0, 0);
  TestMeshChunk(w, "Wall", RenderQuad(-3, 3, 2, 0, 4), 0, 0, 0);
  TestMeshChunk(w, "TreeLeft", RenderQuad(-20, -18, 0, 0, 2), 0, 0, 0);
  TestMeshChunk(w, "Ledge", RenderQuad(-9, -4, 0, 0, 0.5f), 0, 0, 0);
  // The sphere is built around (-1.5, 0, 0) relative to the dummy at
  // (2, 0, 2); its own frame has its origin at its centre.
  TestMeshChunk(w, "Kugel", TestSphere(0.5f, 0, 2, RENDER_KUGEL_RADIUS, 24, 16), 0.5f, 0, 2);
  TestLightChunk(w, "Licht", 0, -6, 6, 1, 1, 1);
  const float eye[3] = {0, -10, 2}, target[3] = {0, 0, 2};
  TestCameraChunk(w, eye, target);
  TestKeyframerBegin(w);
  // Nodes: AstPane 0, Wall 1, TreeLeft 2, Ledge 3, the dummy 4, Kugel 5.
  TestObjectNode(w, "AstPane", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "Wall", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "TreeLeft", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "Ledge", "", 0xFFFF, 0, 0, 0, {});
  TestObjectNode(w, "$$$DUMMY", "Halter", 0xFFFF, 2, 0, 2, {{0, pi}});
  TestObjectNode(w, "Kugel", "", 4, -1.5f, 0, 0, {});
  w.Begin(LIGHT_NODE_TAG);
  w.NodeHeader("Licht", 0xFFFF);
  TestVectorTrack(w, POS_TRACK_TAG, {{0, 0, -6, 6}});
  w.End();
  w.Begin(CAMERA_NODE_TAG);
  w.NodeHeader("Camera01", 0xFFFF);
  TestVectorTrack(w, POS_TRACK_TAG, {{0, 0, -10, 2}, {1100, 1, -9, 2.5f}});
  TestVectorTrack(w, ROLL_TRACK_TAG, {{0, 0}});
  w.End();
  w.Begin(TARGET_NODE_TAG);
  w.NodeHeader("Camera01", 0xFFFF);
  TestVectorTrack(w, POS_TRACK_TAG, {{0, 0, 0, 2}});
  w.End();
  w.End();  // KFDATA
  w.End();  // MAIN3DS
  return w.Bytes;
}

#ifdef FROSTEN_BINARY_DIR  // the test programs' build folder, not the helper programs'
// Writes the scene to a file of its own and returns the name.
static inline std::string WriteRenderScene() {
  std::string name = std::string(FROSTEN_BINARY_DIR) + "/render_scene_" + std::to_string((long)getpid()) + ".3ds";
  std::vector<uint8_t> bytes = BuildRenderScene();
  FILE *f = fopen(name.c_str(), "wb");
  if (f) {
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  return name;
}
#endif
