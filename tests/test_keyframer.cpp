// The keyframer section: dummies, instance names, parents, pivots, tracks.
// frosten-test-links: base
#include "scene/scene.h"
#include "tests/test_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

static const float PI = 3.14159265f;

static void Mesh(ChunkWriter &w, const std::string &name) {
  TestPlainMeshChunk(w, name, {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2});
}

// A file with the given meshes, then a keyframer section written by body.
static ChunkWriter SceneFile(const std::vector<std::string> &meshes, const std::function<void(ChunkWriter &)> &body) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  for (auto &m : meshes) Mesh(w, m);
  w.End();
  w.Begin(KFDATA);
  w.Begin(0xB00A);  // keyframer header: skipped
  w.U16(5);
  w.Name("MAXSCENE");
  w.U32(100);
  w.End();
  body(w);
  w.End();
  w.End();
  return w;
}

static void ObjectNode(ChunkWriter &w, const std::string &name, uint16_t parent) {
  w.Begin(OBJECT_NODE_TAG);
  w.NodeHeader(name, parent);
  w.End();
}

TEST(Keyframer, FrameRange) {
  Scene scene = LoadTestChunks(SceneFile({"A"}, [](ChunkWriter &w) {
    w.Begin(KFSEG);
    w.U32(0);
    w.U32(2200);
    w.End();
  }));
  EXPECT_EQ(scene.FirstFrame, 0);
  EXPECT_EQ(scene.LastFrame, 2200);
  EXPECT_EQ(scene.ObjectCount, 1u);
  EXPECT_EQ(scene.Objects[0].ParentIndex, 0xFFFFu);
  FreeScene(scene);
}

TEST(Keyframer, ParentsFollowTheNodeOrder) {
  Scene scene = LoadTestChunks(SceneFile({"A", "B", "C", "D", "E"}, [](ChunkWriter &w) {
    ObjectNode(w, "A", 0xFFFF);
    ObjectNode(w, "B", 0);
    ObjectNode(w, "C", 1);
    ObjectNode(w, "D", 0);
    ObjectNode(w, "E", 0xFFFF);
  }));
  ASSERT_EQ(scene.ObjectCount, 5u);
  EXPECT_STREQ(scene.Objects[0].ParentName.Text, "");
  EXPECT_STREQ(scene.Objects[1].ParentName.Text, "A");
  EXPECT_STREQ(scene.Objects[2].ParentName.Text, "B");
  EXPECT_STREQ(scene.Objects[3].ParentName.Text, "A");
  EXPECT_STREQ(scene.Objects[4].ParentName.Text, "");
  EXPECT_EQ(scene.Objects[2].ParentIndex, 1u);
  EXPECT_EQ(scene.Objects[3].ParentIndex, 0u);
  FreeScene(scene);
}

TEST(Keyframer, AncestorWalkWithoutMatchEndsAsRoot) {
  // D's parent number 7 matches no ancestor of C.
  Scene scene = LoadTestChunks(SceneFile({"A", "B", "C", "D"}, [](ChunkWriter &w) {
    ObjectNode(w, "A", 0xFFFF);
    ObjectNode(w, "B", 3);
    ObjectNode(w, "C", 9);
    ObjectNode(w, "D", 7);
  }));
  EXPECT_STREQ(scene.Objects[3].ParentName.Text, "");
  EXPECT_EQ(scene.Objects[3].ParentIndex, 7u);
  FreeScene(scene);

  // A cycle of names: A's parent is B and B's is A; the walk ends.
  scene = LoadTestChunks(SceneFile({"A", "B", "C"}, [](ChunkWriter &w) {
    ObjectNode(w, "B", 0xFFFF);
    ObjectNode(w, "A", 4);   // parent B
    ObjectNode(w, "B", 6);   // parent A
    ObjectNode(w, "C", 1);   // walks B -> A -> B ...
  }));
  EXPECT_STREQ(scene.Objects[0].ParentName.Text, "B");
  EXPECT_STREQ(scene.Objects[1].ParentName.Text, "A");
  EXPECT_STREQ(scene.Objects[2].ParentName.Text, "");
  FreeScene(scene);

  // A first node with a parent number is a root.
  scene = LoadTestChunks(SceneFile({"A"}, [](ChunkWriter &w) { ObjectNode(w, "A", 3); }));
  EXPECT_STREQ(scene.Objects[0].ParentName.Text, "");
  FreeScene(scene);
}

TEST(Keyframer, DummiesInstanceNamesAndPivots) {
  Scene scene = LoadTestChunks(SceneFile({"Tree"}, [](ChunkWriter &w) {
    w.Begin(OBJECT_NODE_TAG);
    w.NodeHeader("$$$DUMMY", 0xFFFF);
    w.Begin(INSTANCE_NAME);
    w.Name("Group");
    w.End();
    w.Begin(PIVOT);
    w.Floats({1, 2, 3});
    w.End();
    w.TrackHeader(POS_TRACK_TAG, 1);
    w.U32(0);
    w.U16(0);
    w.Floats({4, 5, 6});
    w.End();
    w.End();
    w.Begin(OBJECT_NODE_TAG);
    w.NodeHeader("Tree", 0);
    w.Begin(PIVOT);
    w.Floats({0.5f, 0, 0});
    w.End();
    w.End();
    // Two dummies without instance names: the second header finds the first.
    ObjectNode(w, "$$$DUMMY", 0xFFFF);
    w.Begin(OBJECT_NODE_TAG);
    w.NodeHeader("$$$DUMMY", 0xFFFF);
    w.Begin(INSTANCE_NAME);
    w.Name("Renamed");
    w.End();
    w.End();
  }));
  ASSERT_EQ(scene.ObjectCount, 4u);
  const SceneObject &group = scene.Objects[1];
  EXPECT_STREQ(group.Name.Text, "Group");
  EXPECT_TRUE(group.IsDummy);
  EXPECT_FALSE(group.Visible);
  EXPECT_EQ(group.VertexCount, 0u);
  EXPECT_EQ(group.MeshMatrix.m[0], 1.0f);
  EXPECT_EQ(group.MeshMatrix.m[12], -1.0f);
  EXPECT_EQ(group.MeshMatrix.m[13], -2.0f);
  EXPECT_EQ(group.MeshMatrix.m[14], -3.0f);
  EXPECT_EQ(group.MeshMatrixInverse.m[12], 1.0f);
  EXPECT_EQ(group.MeshMatrixInverse.m[14], 3.0f);
  EXPECT_EQ(group.MeshOffset.x, 0.0f);
  ASSERT_EQ(group.PositionTrack.KeyCount, 1u);
  EXPECT_EQ(group.PositionTrack.Keys[0].Value.y, 5.0f);
  const SceneObject &tree = scene.Objects[0];
  EXPECT_STREQ(tree.ParentName.Text, "Group");
  EXPECT_EQ(tree.MeshMatrix.m[12], -0.5f);
  EXPECT_EQ(tree.MeshMatrixInverse.m[12], 0.5f);
  EXPECT_STREQ(scene.Objects[2].Name.Text, "Renamed");
  EXPECT_STREQ(scene.Objects[3].Name.Text, "$$$DUMMY");
  FreeScene(scene);
}

TEST(Keyframer, RotationKeysAccumulate) {
  Scene scene = LoadTestChunks(SceneFile({"Spin"}, [](ChunkWriter &w) {
    w.Begin(OBJECT_NODE_TAG);
    w.NodeHeader("Spin", 0xFFFF);
    w.TrackHeader(ROT_TRACK_TAG, 3);
    for (int i = 0; i < 3; i++) {
      w.U32(10 * i);
      w.U16(i == 1 ? 0x0001 : 0);
      if (i == 1) w.F32(0.9f);  // a tension, not used for rotations
      w.Floats({i == 0 ? 0 : PI / 2, 0, 0, 1});
    }
    w.End();
    w.End();
  }));
  const RotationTrack &t = scene.Objects[0].RotationTrack;
  ASSERT_EQ(t.KeyCount, 3u);
  for (int i = 0; i < 3; i++) {
    const Quaternion &q = t.Keys[i].Rotation;
    EXPECT_EQ(t.Keys[i].Frame, 10 * i);
    EXPECT_NEAR(2 * std::atan2(q.z, q.w) * 180 / PI, 90.0f * i, 1e-3) << i;
  }
  // Prepared: the middle key has its control points.
  EXPECT_NE(t.Keys[1].OutControl.w, 0.0f);
  FreeScene(scene);
}

TEST(Keyframer, SplineFlagsAndTension) {
  Scene scene = LoadTestChunks(SceneFile({"Move"}, [](ChunkWriter &w) {
    w.Begin(OBJECT_NODE_TAG);
    w.NodeHeader("Move", 0xFFFF);
    w.TrackHeader(POS_TRACK_TAG, 3);
    w.U32(0);
    w.U16(0);
    w.Floats({0, 0, 0});
    w.U32(10);
    w.U16(0x0003);
    w.Floats({0.25f, 0.75f});  // tension, continuity
    w.Floats({10, 0, 0});
    w.U32(20);
    w.U16(0x001C);
    w.Floats({1, 2, 3});  // bias, ease to, ease from
    w.Floats({40, 0, 0});
    w.End();
    w.TrackHeader(SCL_TRACK_TAG, 1);
    w.U32(0);
    w.U16(0);
    w.Floats({2, 2, 2});
    w.End();
    w.End();
  }));
  const VectorTrack &t = scene.Objects[0].PositionTrack;
  ASSERT_EQ(t.KeyCount, 3u);
  EXPECT_EQ(t.Keys[0].Tension, 0.5f);
  EXPECT_EQ(t.Keys[1].Tension, 0.25f);
  EXPECT_EQ(t.Keys[2].Value.x, 40.0f);
  EXPECT_EQ(t.Keys[1].Tangent.x, 10.0f);  // prepared
  EXPECT_EQ(scene.Objects[0].ScaleTrack.Keys[0].Value.z, 2.0f);
  FreeScene(scene);
}

TEST(Keyframer, CameraTargetLightTracksAndMisplacedTracks) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Cam");
  w.Begin(N_CAMERA);
  w.Floats({0, 0, 0, 0, 0, 1, 0, 35});
  w.End();
  w.End();
  w.Begin(NAMED_OBJECT);
  w.Name("Lamp");
  w.Begin(N_DIRECT_LIGHT);
  w.Floats({1, 1, 1});
  w.ColourF(1, 0, 0);
  w.End();
  w.End();
  Mesh(w, "Obj");
  w.End();
  w.Begin(KFDATA);
  auto vectorKey = [&](int frame, float x, float y, float z) {
    w.U32(frame);
    w.U16(0);
    w.Floats({x, y, z});
  };
  w.Begin(CAMERA_NODE_TAG);
  w.NodeHeader("Cam", 0xFFFF);
  w.TrackHeader(POS_TRACK_TAG, 1);
  vectorKey(0, 1, 2, 3);
  w.End();
  w.TrackHeader(ROLL_TRACK_TAG, 2);
  w.U32(0);
  w.U16(0);
  w.F32(15);
  w.U32(50);
  w.U16(0);
  w.F32(30);
  w.End();
  w.TrackHeader(ROT_TRACK_TAG, 1);  // no rotation for cameras
  w.U32(0);
  w.U16(0);
  w.Floats({1, 0, 0, 1});
  w.End();
  w.End();
  w.Begin(TARGET_NODE_TAG);
  w.NodeHeader("Cam", 0xFFFF);
  w.TrackHeader(POS_TRACK_TAG, 1);
  vectorKey(0, 7, 8, 9);
  w.End();
  w.End();
  w.Begin(LIGHT_NODE_TAG);
  w.NodeHeader("Lamp", 0xFFFF);
  w.TrackHeader(POS_TRACK_TAG, 2);
  vectorKey(0, 1, 1, 1);
  vectorKey(100, 2, 2, 2);
  w.End();
  w.End();
  w.Begin(OBJECT_NODE_TAG);
  w.NodeHeader("Obj", 0xFFFF);
  w.TrackHeader(ROLL_TRACK_TAG, 1);  // no roll for objects
  w.U32(0);
  w.U16(0);
  w.F32(45);
  w.End();
  w.TrackHeader(POS_TRACK_TAG, 1);
  vectorKey(0, 4, 4, 4);
  w.End();
  // A second position track replaces the first.
  w.TrackHeader(POS_TRACK_TAG, 1);
  vectorKey(0, 5, 5, 5);
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.CameraCount, 1u);
  const SceneCamera &c = scene.Cameras[0];
  ASSERT_EQ(c.PositionTrack.KeyCount, 1u);
  EXPECT_EQ(c.PositionTrack.Keys[0].Value.z, 3.0f);
  ASSERT_EQ(c.TargetTrack.KeyCount, 1u);
  EXPECT_EQ(c.TargetTrack.Keys[0].Value.x, 7.0f);
  ASSERT_EQ(c.RollTrack.KeyCount, 2u);
  EXPECT_EQ(c.RollTrack.Keys[1].Value.x, 30.0f);
  EXPECT_EQ(c.RollTrack.Keys[1].Value.y, 0.0f);
  ASSERT_EQ(scene.LightCount, 1u);
  EXPECT_EQ(scene.Lights[0].PositionTrack.KeyCount, 2u);
  EXPECT_EQ(scene.Lights[0].Colour[0], 1.0f);
  const SceneObject &o = scene.Objects[0];
  EXPECT_EQ(o.RotationTrack.KeyCount, 0u);
  ASSERT_EQ(o.PositionTrack.KeyCount, 1u);
  EXPECT_EQ(o.PositionTrack.Keys[0].Value.x, 5.0f);
  EXPECT_EQ(o.ScaleTrack.KeyCount, 0u);
  // Camera and light nodes touch no object.
  EXPECT_EQ(o.ParentIndex, 0xFFFFu);
  FreeScene(scene);
}

TEST(Keyframer, KeyCountsBeyondTheFile) {
  Scene scene = LoadTestChunks(SceneFile({"Obj"}, [](ChunkWriter &w) {
    w.Begin(OBJECT_NODE_TAG);
    w.NodeHeader("Obj", 0xFFFF);
    w.TrackHeader(POS_TRACK_TAG, 0xFFFFFFFF);
    w.U32(0);
    w.U16(0);
    w.Floats({1, 2, 3});
    w.End();
    w.End();
  }));
  const VectorTrack &t = scene.Objects[0].PositionTrack;
  EXPECT_LE(t.Capacity, 4u);
  EXPECT_GE(t.KeyCount, 1u);
  EXPECT_EQ(t.Keys[0].Value.z, 3.0f);
  FreeScene(scene);
}
