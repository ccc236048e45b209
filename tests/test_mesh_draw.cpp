// The hierarchical transform and the view test against the GL's own matrix
// stack and projection.
// frosten-test: x11
#include "render/mesh_draw.h"
#include "render/quaternion.h"
#include "scene/scene.h"
#include "tests/capture_window.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

// An object with one key per track.
static SceneObject MakeObject(const char *name, const char *parent, Vector3 position, Quaternion turn,
                              Vector3 scale) {
  SceneObject o{};
  SetShortString(o.Name, name);
  SetShortString(o.ParentName, parent);
  o.MeshMatrix = IdentityMatrix();
  o.MeshMatrixInverse = IdentityMatrix();
  TrackInit(o.PositionTrack, 1);
  TrackAddKey(o.PositionTrack, 0, 0.5f, position.x, position.y, position.z);
  TrackInit(o.ScaleTrack, 1);
  TrackAddKey(o.ScaleTrack, 0, 0.5f, scale.x, scale.y, scale.z);
  RotationTrackInit(o.RotationTrack, 1);
  RotationTrackAddKey(o.RotationTrack, 0, turn);
  return o;
}

struct TestObjects {
  std::vector<SceneObject> Objects;
  Scene Graph{};
  void Link() {
    Graph.Objects = Objects.data();
    Graph.ObjectCount = (uint32_t)Objects.size();
  }
  ~TestObjects() {
    for (SceneObject &o : Objects) {
      TrackFree(o.PositionTrack);
      TrackFree(o.ScaleTrack);
      RotationTrackFree(o.RotationTrack);
    }
  }
};

static void ModelviewAfter(void (*apply)(Scene &), Scene &scene, float out[16]) {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  apply(scene);
  glGetFloatv(GL_MODELVIEW_MATRIX, out);
  glPopMatrix();
}

// A child with its own mesh frame under a turned, scaled, moved parent
// whose own parent is a root: the inverse undoes the forward transform,
// and the forward one puts the mesh's origin where the chain says.
TEST(ObjectTransform, InverseUndoesForwardThroughTheParentChain) {
  NEED_WINDOW();
  TestObjects t;
  t.Objects.push_back(MakeObject("Child", "Parent", set(0, 1, 0), quaternionFromAngleAxis(0.7f, 1, 0, 0),
                                 set(1, 0.5f, 2)));
  t.Objects.push_back(MakeObject("Parent", "Root", set(1, 2, 3), quaternionFromAngleAxis(1.2f, 0, 0, 1),
                                 set(2, 2, 2)));
  t.Objects.push_back(MakeObject("Root", "", set(-4, 0, 1), quaternionFromAngleAxis(0.3f, 0, 1, 0),
                                 set(1, 1, 1)));
  // The child's mesh frame: axes of lengths 2, 1, 1 at origin (5, 6, 7).
  Matrix16 &m = t.Objects[0].MeshMatrix;
  m = IdentityMatrix();
  m.m[0] = 2;
  normalizeMeshAxes(m);
  t.Objects[0].MeshMatrixInverse = invertMeshMatrix(m);
  t.Objects[0].MeshOffset = set(-5, -6, -7);
  t.Link();

  float both[16];
  ModelviewAfter(
      [](Scene &s) {
        applyObjectTransform(s, 0, 0, true, false);
        applyObjectTransform(s, 0, 0, true, true);
      },
      t.Graph, both);
  for (int i = 0; i < 16; i++) EXPECT_NEAR(both[i], i % 5 == 0 ? 1.0f : 0.0f, 1e-5) << "element " << i;

  float inverseFirst[16];
  ModelviewAfter(
      [](Scene &s) {
        applyObjectTransform(s, 0, 0, true, true);
        applyObjectTransform(s, 0, 0, true, false);
      },
      t.Graph, inverseFirst);
  for (int i = 0; i < 16; i++) EXPECT_NEAR(inverseFirst[i], i % 5 == 0 ? 1.0f : 0.0f, 1e-5) << "element " << i;

  // The mesh's origin (5, 6, 7) lands where root * parent * child put the
  // child's position: worked out with the GL's own calls.
  float forward[16], expected[16];
  ModelviewAfter([](Scene &s) { applyObjectTransform(s, 0, 0, true, false); }, t.Graph, forward);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(-4, 0, 1);
  glRotatef(0.3f * 180 / (float)M_PI, 0, -1, 0);
  glTranslatef(1, 2, 3);
  glRotatef(1.2f * 180 / (float)M_PI, 0, 0, -1);
  glScalef(2, 2, 2);
  glTranslatef(0, 1, 0);
  glGetFloatv(GL_MODELVIEW_MATRIX, expected);
  glPopMatrix();
  float origin[3];
  for (int r = 0; r < 3; r++) origin[r] = forward[r] * 5 + forward[4 + r] * 6 + forward[8 + r] * 7 + forward[12 + r];
  for (int r = 0; r < 3; r++) EXPECT_NEAR(origin[r], expected[12 + r], 1e-4) << "row " << r;
}

// Parent links that loop (a mesh that names itself, two that name each
// other) end like a root instead of recursing forever; of two objects
// with the parent's name the first is used.
TEST(ObjectTransform, LoopsEndAndTheFirstNamedParentCounts) {
  NEED_WINDOW();
  TestObjects t;
  Quaternion none = {1, 0, 0, 0};
  t.Objects.push_back(MakeObject("Self", "Self", set(1, 0, 0), none, set(1, 1, 1)));
  t.Objects.push_back(MakeObject("A", "B", set(0, 1, 0), none, set(1, 1, 1)));
  t.Objects.push_back(MakeObject("B", "A", set(0, 0, 1), none, set(1, 1, 1)));
  t.Objects.push_back(MakeObject("Kid", "Twin", set(0, 0, 0), none, set(1, 1, 1)));
  t.Objects.push_back(MakeObject("Twin", "", set(3, 0, 0), none, set(1, 1, 1)));
  t.Objects.push_back(MakeObject("Twin", "", set(9, 0, 0), none, set(1, 1, 1)));
  t.Link();
  float m[16];
  ModelviewAfter([](Scene &s) { applyObjectTransform(s, 0, 0, true, false); }, t.Graph, m);
  EXPECT_TRUE(std::isfinite(m[12]));
  ModelviewAfter([](Scene &s) { applyObjectTransform(s, 1, 0, true, true); }, t.Graph, m);
  EXPECT_TRUE(std::isfinite(m[13]));
  ModelviewAfter([](Scene &s) { applyObjectTransform(s, 3, 0, true, false); }, t.Graph, m);
  EXPECT_FLOAT_EQ(m[12], 3);
}

// The view test under the show's projection from the origin looking down
// -z: a box entirely left, entirely behind the eye or beyond the far plane
// is culled; one reaching across the whole view, one with one corner
// inside, and one around the eye reaching past the far plane are drawn.
TEST(ViewTest, WholeBoxesBeyondOneLimitAreCulled) {
  NEED_WINDOW();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  auto box = [](float x0, float x1, float y0, float y1, float z0, float z1) {
    SceneObject o{};
    for (int k = 0; k < 8; k++)
      o.BoundingCorners[k] = set(k & 2 ? x1 : x0, k & 4 ? y1 : y0, k & 1 ? z1 : z0);
    return o;
  };
  EXPECT_FALSE(boundingBoxInView(box(-40, -30, -1, 1, -11, -9)));   // left
  EXPECT_FALSE(boundingBoxInView(box(-1, 1, -1, 1, 5, 6)));         // behind the eye
  EXPECT_FALSE(boundingBoxInView(box(-1, 1, -1, 1, -70, -60)));     // beyond the far plane
  EXPECT_FALSE(boundingBoxInView(box(-1, 1, 30, 40, -11, -9)));     // above
  EXPECT_TRUE(boundingBoxInView(box(-40, 40, -1, 1, -11, -9)));     // across the view
  EXPECT_TRUE(boundingBoxInView(box(-40, 0, -1, 40, -11, -9)));     // half left, half above
  EXPECT_TRUE(boundingBoxInView(box(-1, 1, -1, 1, -20, 20)));       // through the eye
  EXPECT_TRUE(boundingBoxInView(box(-80, 80, -2, -1, -80, 80)));    // a ground around the eye, past the far plane
  // A viewport away from the window's corner, as between bars: the limits
  // move with it, so a box in the view's top right is still drawn and one
  // just left of the view is still culled.
  glViewport(200, 150, 64, 48);
  EXPECT_TRUE(boundingBoxInView(box(3, 4, 2, 3, -11, -9)));
  EXPECT_FALSE(boundingBoxInView(box(-9, -8, -1, 1, -11, -9)));
  glViewport(0, 0, 64, 48);
}
