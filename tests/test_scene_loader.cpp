// The 3DS loader's editor chunks: meshes, derived normals and bounds,
// lights, cameras, the ambient colour, and damaged input.
// frosten-test-links: base
#include "scene/scene.h"
#include "tests/test_scene.h"

#include <gtest/gtest.h>

#include <string>

// A unit square in z = 0 made of two triangles, with four vertices.
static void SquareMesh(ChunkWriter &w, const std::string &name) {
  TestPlainMeshChunk(w, name, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 0, 2, 3});
}

TEST(SceneLoader, FileWithoutMainChunkLoadsNothing) {
  ChunkWriter w;
  w.Begin(EDIT3DS);
  SquareMesh(w, "Box");
  w.End();
  Scene scene = LoadTestChunks(w);
  EXPECT_EQ(scene.ObjectCount, 0u);
  EXPECT_EQ(scene.LightCount, 0u);
  EXPECT_EQ(scene.CameraCount, 0u);
  EXPECT_STREQ(scene.FileName.Text, "test.3ds");
  FreeScene(scene);

  ChunkWriter empty;
  scene = LoadTestChunks(empty);
  EXPECT_EQ(scene.ObjectCount, 0u);
  FreeScene(scene);
}

TEST(SceneLoader, MeshGeometryMatrixAndTexCoords) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Tree01");
  w.Begin(N_TRI_OBJECT);
  w.Points({0, 0, 0, 2, 0, 0, 0, 3, 0});
  w.Begin(TEX_VERTS);
  w.U16(3);
  w.Floats({0.25f, 0.75f, 1, 0, 0, 1});
  w.End();
  w.FaceList({0, 1, 2}, 0x0406);
  w.Begin(0x4150);  // smoothing groups: skipped
  w.U32(1);
  w.End();
  w.MeshMatrix({2, 0, 0, 0, 3, 0, 0, 0, 4, 1, 2, 3});
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.ObjectCount, 1u);
  const SceneObject &o = scene.Objects[0];
  EXPECT_STREQ(o.Name.Text, "Tree01");
  EXPECT_EQ(o.VertexCount, 3u);
  EXPECT_EQ(o.FaceCount, 1u);
  EXPECT_EQ(o.Vertices[1].x, 2.0f);
  EXPECT_EQ(o.Vertices[2].y, 3.0f);
  EXPECT_EQ(o.Faces[0], 0u);
  EXPECT_EQ(o.Faces[1], 1u);
  EXPECT_EQ(o.Faces[2], 2u);
  EXPECT_EQ(o.FaceFlags[0], 0x0406);
  EXPECT_EQ(o.TexCoords[0], 0.25f);
  EXPECT_EQ(o.TexCoords[1], -0.75f);
  EXPECT_EQ(o.TexCoords[2], 1.0f);
  EXPECT_TRUE(o.Textured);
  EXPECT_FALSE(o.Reflective);
  EXPECT_FALSE(o.Transparent);
  EXPECT_TRUE(o.Visible);
  EXPECT_FALSE(o.IsDummy);
  EXPECT_FALSE(o.Drawable);
  EXPECT_EQ(o.ParentIndex, 0xFFFFu);
  EXPECT_EQ(o.ParentName.Length, 0);

  const float *m = o.MeshMatrix.m, *inv = o.MeshMatrixInverse.m;
  float expected[16] = {0.5f, 0, 0, 0, 0, 1.0f / 3, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 1};
  float expectedInverse[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
  for (int i = 0; i < 16; i++) {
    EXPECT_EQ(m[i], expected[i]) << i;
    EXPECT_FLOAT_EQ(inv[i], expectedInverse[i]) << i;
  }
  EXPECT_EQ(o.MeshOffset.x, -1.0f);
  EXPECT_EQ(o.MeshOffset.y, -2.0f);
  EXPECT_EQ(o.MeshOffset.z, -3.0f);
  FreeScene(scene);
}

TEST(SceneLoader, NormalsAndBoundingCorners) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Seam");
  w.Begin(N_TRI_OBJECT);
  // Vertex 3 repeats vertex 1's position (a texture seam); vertex 4 is unused.
  w.Points({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 5, 5, 5, 0, 0, -1});
  w.FaceList({0, 1, 2, 3, 5, 0});
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.ObjectCount, 1u);
  const SceneObject &o = scene.Objects[0];
  EXPECT_EQ(o.FaceNormals[0].z, 1.0f);
  EXPECT_FLOAT_EQ(o.FaceNormals[1].y, 1.0f);
  // Both seam vertices sum the two faces that touch their position.
  EXPECT_EQ(o.VertexNormals[1].x, o.VertexNormals[3].x);
  EXPECT_EQ(o.VertexNormals[1].y, o.VertexNormals[3].y);
  EXPECT_EQ(o.VertexNormals[1].z, o.VertexNormals[3].z);
  EXPECT_NEAR(o.VertexNormals[1].y, 0.70710678f, 1e-6);
  EXPECT_NEAR(o.VertexNormals[1].z, 0.70710678f, 1e-6);
  // Only face 0 touches vertex 2.
  EXPECT_EQ(o.VertexNormals[2].z, 1.0f);
  // The unused vertex points along z.
  EXPECT_EQ(o.VertexNormals[4].x, 0.0f);
  EXPECT_EQ(o.VertexNormals[4].z, 1.0f);

  // Corner k: x from the maximum for bit 1, y for bit 2, z for bit 0.
  const Vector3 *c = o.BoundingCorners;
  EXPECT_EQ(c[0].x, 0.0f);
  EXPECT_EQ(c[0].y, 0.0f);
  EXPECT_EQ(c[0].z, -1.0f);
  EXPECT_EQ(c[1].z, 5.0f);
  EXPECT_EQ(c[2].x, 5.0f);
  EXPECT_EQ(c[2].z, -1.0f);
  EXPECT_EQ(c[4].y, 5.0f);
  EXPECT_EQ(c[4].x, 0.0f);
  EXPECT_EQ(c[7].x, 5.0f);
  EXPECT_EQ(c[7].y, 5.0f);
  EXPECT_EQ(c[7].z, 5.0f);
  FreeScene(scene);
}

TEST(SceneLoader, MeshWithoutPointsOrMatrix) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Empty");
  w.Begin(N_TRI_OBJECT);
  w.Begin(TEX_VERTS);  // texture coordinates before any point array
  w.U16(2);
  w.Floats({1, 2, 3, 4});
  w.End();
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.ObjectCount, 1u);
  const SceneObject &o = scene.Objects[0];
  EXPECT_EQ(o.VertexCount, 0u);
  EXPECT_EQ(o.MeshMatrix.m[0], 1.0f);
  EXPECT_EQ(o.MeshMatrix.m[15], 1.0f);
  EXPECT_EQ(o.MeshMatrixInverse.m[5], 1.0f);
  EXPECT_EQ(o.PositionTrack.KeyCount, 0u);
  EXPECT_EQ(o.BoundingCorners[0].x, 10000000.0f);
  EXPECT_EQ(o.BoundingCorners[7].x, -10000000.0f);
  FreeScene(scene);
}

TEST(SceneLoader, LightsAmbientAndColours) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(AMBIENT_LIGHT);
  w.Begin(LIN_COLOR_F);
  w.Floats({0.1f, 0.2f, 0.3f});
  w.End();
  w.End();
  for (int i = 0; i < 10; i++) {
    w.Begin(NAMED_OBJECT);
    w.Name("Light" + std::to_string(i));
    w.Begin(N_DIRECT_LIGHT);
    w.Floats({(float)i, 2, 3});
    if (i == 0 || i == 2) {
      // A 24-bit colour is not read: the last float colour stays.
      w.Begin(0x0011);
      w.U8(255);
      w.U8(0);
      w.U8(0);
      w.End();
    } else {
      w.ColourF(i / 10.0f, 0.5f, 1);
    }
    w.Begin(0x4610);  // spotlight: skipped
    w.Floats({0, 0, 0, 1, 1});
    w.End();
    w.End();
    w.End();
  }
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  EXPECT_EQ(scene.LightCount, 8u);
  EXPECT_FLOAT_EQ(scene.AmbientColour[0], 0.1f);
  EXPECT_FLOAT_EQ(scene.AmbientColour[2], 0.3f);
  EXPECT_FLOAT_EQ(scene.Lights[0].Colour[0], 0.1f);  // the ambient colour
  EXPECT_FLOAT_EQ(scene.Lights[0].Colour[1], 0.2f);
  EXPECT_FLOAT_EQ(scene.Lights[1].Colour[0], 0.1f);
  EXPECT_FLOAT_EQ(scene.Lights[1].Colour[1], 0.5f);
  EXPECT_FLOAT_EQ(scene.Lights[2].Colour[0], 0.1f);  // the previous light's
  EXPECT_FLOAT_EQ(scene.Lights[3].Colour[0], 0.3f);
  EXPECT_EQ(scene.Lights[7].Position.x, 7.0f);
  EXPECT_EQ(scene.Lights[7].FlareSize, 1.0f);
  EXPECT_STREQ(scene.Lights[5].Name.Text, "Light5");
  FreeScene(scene);
}

TEST(SceneLoader, CameraThenMeshAndKeyframerPlacement) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(KFDATA);  // before the editor section: never read
  w.Begin(KFSEG);
  w.U32(5);
  w.U32(99);
  w.End();
  w.End();
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Camera01");
  w.Begin(N_CAMERA);
  w.Floats({1, 2, 3, 4, 5, 6, 12.5f, 35});
  w.End();
  w.End();
  SquareMesh(w, "Box");
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.CameraCount, 1u);
  const SceneCamera &c = scene.Cameras[0];
  EXPECT_STREQ(c.Name.Text, "Camera01");
  EXPECT_EQ(c.Position.z, 3.0f);
  EXPECT_EQ(c.Target.x, 4.0f);
  EXPECT_EQ(c.Roll, 12.5f);
  EXPECT_EQ(c.Lens, 35.0f);
  EXPECT_EQ(c.DepthScale, 1.0f);
  ASSERT_EQ(scene.ObjectCount, 1u);
  EXPECT_STREQ(scene.Objects[0].Name.Text, "Box");
  EXPECT_EQ(scene.FirstFrame, 0);
  EXPECT_EQ(scene.LastFrame, 0);
  EXPECT_EQ(scene.ActiveCamera, 0u);
  FreeScene(scene);
}

TEST(SceneLoader, LongNamesAreCut) {
  std::string name(300, 'x');
  name[254] = 'y';
  name[255] = 'z';
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name(name);
  w.Begin(N_CAMERA);
  w.Floats({0, 0, 0, 0, 0, 1, 0, 50});
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.CameraCount, 1u);
  EXPECT_EQ(scene.Cameras[0].Name.Length, 255);
  EXPECT_EQ(scene.Cameras[0].Name.Text[254], 'y');
  EXPECT_EQ(scene.Cameras[0].Name.Text[255], 0);
  EXPECT_EQ(scene.Cameras[0].Lens, 50.0f);
  FreeScene(scene);
}

TEST(SceneLoader, DamagedMeshes) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Broken");
  w.Begin(N_TRI_OBJECT);
  w.Points({0, 0, 0, 1, 0, 0, 0, 1, 0});
  // Faces with a corner beyond the vertices are dropped.
  w.FaceList({0, 1, 2, 0, 1, 3, 2, 1, 0, 65535, 0, 1});
  w.End();
  w.End();
  // A point array that announces more points than the file holds.
  w.Begin(NAMED_OBJECT);
  w.Name("Short");
  w.Begin(N_TRI_OBJECT);
  w.Begin(POINT_ARRAY);
  w.U16(60000);
  w.Floats({1, 2, 3, 4, 5, 6});
  w.End();
  w.Begin(FACE_ARRAY);
  w.U16(60000);
  w.End();
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.ObjectCount, 2u);
  const SceneObject &broken = scene.Objects[0];
  ASSERT_EQ(broken.FaceCount, 2u);
  EXPECT_EQ(broken.Faces[3], 2u);
  EXPECT_EQ(broken.Faces[5], 0u);
  const SceneObject &cut = scene.Objects[1];
  EXPECT_LE(cut.VertexCount, 3u);
  EXPECT_GE(cut.VertexCount, 2u);
  EXPECT_EQ(cut.Vertices[1].z, 6.0f);
  EXPECT_EQ(cut.FaceCount, 0u);
  FreeScene(scene);
}

TEST(SceneLoader, BadChunkLengthsEndTheWalk) {
  // A zero length would never move the walk on.
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  SquareMesh(w, "First");
  w.Header(NAMED_OBJECT, 0);
  w.Name("Stuck");
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  EXPECT_EQ(scene.ObjectCount, 1u);
  FreeScene(scene);

  // Lengths beyond the file stop at its end.
  ChunkWriter big;
  big.Header(MAIN3DS, 0xFFFFFFFF);
  big.Header(EDIT3DS, 0xFFFFFFF0);
  big.Header(NAMED_OBJECT, 0x7FFFFFFF);
  big.Name("Huge");
  big.Header(N_TRI_OBJECT, 0xFFFFFFFF);
  big.Header(POINT_ARRAY, 0xFFFFFFFF);
  big.U16(2);
  big.Floats({1, 2, 3, 4, 5, 6});
  scene = LoadTestChunks(big);
  ASSERT_EQ(scene.ObjectCount, 1u);
  EXPECT_EQ(scene.Objects[0].VertexCount, 2u);
  FreeScene(scene);
}

TEST(SceneLoader, RepeatedPointArrayReplacesTheFirst) {
  ChunkWriter w;
  w.Begin(MAIN3DS);
  w.Begin(EDIT3DS);
  w.Begin(NAMED_OBJECT);
  w.Name("Twice");
  w.Begin(N_TRI_OBJECT);
  w.Points({0, 0, 0, 1, 0, 0});
  w.Points({7, 7, 7, 8, 8, 8, 9, 9, 9});
  w.FaceList({0, 1, 2});
  w.End();
  w.End();
  w.End();
  w.End();
  Scene scene = LoadTestChunks(w);
  ASSERT_EQ(scene.ObjectCount, 1u);
  EXPECT_EQ(scene.Objects[0].VertexCount, 3u);
  EXPECT_EQ(scene.Objects[0].Vertices[0].x, 7.0f);
  EXPECT_EQ(scene.Objects[0].FaceCount, 1u);
  FreeScene(scene);
}
