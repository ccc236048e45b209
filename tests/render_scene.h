// A small scene for the rendered-picture tests, with everything at known
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
#pragma once

#include "tests/test_scene.h"

#include <cstdio>
#include <string>
#include <unistd.h>

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
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(AMBIENT_LIGHT);
  w.ColourF(0.2f, 0.2f, 0.2f);
  w.End();
  TestMeshChunk(w, "AstPane", RenderQuad(-1, 1, 0, 1, 5), 0, 0, 0);
  TestMeshChunk(w, "Wall", RenderQuad(-3, 3, 2, 0, 4), 0, 0, 0);
  TestMeshChunk(w, "TreeLeft", RenderQuad(-20, -18, 0, 0, 2), 0, 0, 0);
  TestMeshChunk(w, "Ledge", RenderQuad(-9, -4, 0, 0, 0.5f), 0, 0, 0);
  // The sphere is built around (-1.5, 0, 0) relative to the dummy at
  // (2, 0, 2); its own frame has its origin at its centre.
  TestMeshChunk(w, "Kugel", TestSphere(0.5f, 0, 2, RENDER_KUGEL_RADIUS, 24, 16), 0.5f, 0, 2);
  TestLightChunk(w, "Licht", 0, -6, 6, 1, 1, 1);
  w.Begin(NAMED_OBJECT);
  w.Name("Camera01");
  w.Begin(N_CAMERA);
  w.Floats({0, -10, 2, 0, 0, 2, 0, 35});
  w.End();
  w.End();
  w.End();  // EDIT3DS

  w.Begin(KFDATA);
  w.Begin(KFSEG);
  w.U32(0);
  w.U32(2200);
  w.End();
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
