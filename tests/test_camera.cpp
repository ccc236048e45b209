// The camera: its search for a usable view (bounded), the roll taken one
// tick after the view, the depth scale on eye-space z.
// frosten-test: x11
#include "effects/camera.h"
#include "scene/scene.h"
#include "tests/capture_window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

typedef std::vector<std::vector<float>> Keys;  // frame, x, y, z

static void FillTrack(VectorTrack &track, const Keys &keys) {
  TrackInit(track, (uint32_t)keys.size());
  for (auto &k : keys) TrackAddKey(track, (int32_t)k[0], 0.5f, k[1], k[2], k[3]);
  TrackPrepare(track);
}

struct TestCamera {
  SceneCamera Camera{};
  Scene Graph{};
  TestCamera(const Keys &eye, const Keys &target, const Keys &roll) {
    Camera.DepthScale = 1;
    FillTrack(Camera.PositionTrack, eye);
    FillTrack(Camera.TargetTrack, target);
    FillTrack(Camera.RollTrack, roll);
    Graph.Cameras = &Camera;
    Graph.CameraCount = 1;
  }
  ~TestCamera() {
    TrackFree(Camera.PositionTrack);
    TrackFree(Camera.TargetTrack);
    TrackFree(Camera.RollTrack);
  }
  // The camera applied at a frame; p is then a world point in eye space.
  void Apply(int32_t frame, const float world[3], float eye[3]) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyCamera(Graph, frame);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int r = 0; r < 3; r++) eye[r] = m[r] * world[0] + m[4 + r] * world[1] + m[8 + r] * world[2] + m[12 + r];
  }
};

// From (0, -10, 2) towards (0, 0, 2): the target lies 10 ahead, world up
// is screen up; the depth scale stretches eye-space z; a roll of 90
// degrees turns screen up to screen left.
TEST(Camera, ViewUpRollAndDepthScale) {
  NEED_WINDOW();
  TestCamera c({{0, 0, -10, 2}}, {{0, 0, 0, 2}}, {{0, 0, 0, 0}, {100, 100, 0, 0}});
  const float above[3] = {0, 0, 3};
  float eye[3];
  c.Apply(0, above, eye);
  // Roll is sampled one tick after the view: 1 degree at frame 0.
  EXPECT_NEAR(c.Camera.Roll, 1.0f, 1e-5);
  EXPECT_NEAR(eye[2], -10, 1e-4);
  EXPECT_NEAR(std::hypot(eye[0], eye[1]), 1, 1e-4);
  EXPECT_NEAR(eye[1], std::cos(M_PI / 180), 1e-4);

  c.Apply(89, above, eye);  // roll 90 degrees
  EXPECT_NEAR(eye[0], -1, 1e-4);
  EXPECT_NEAR(eye[1], 0, 1e-4);

  c.Camera.DepthScale = 1.1f;
  c.Apply(-1, above, eye);  // roll 0
  EXPECT_NEAR(eye[0], 0, 1e-4);
  EXPECT_NEAR(eye[1], 1, 1e-4);
  EXPECT_NEAR(eye[2], -11, 1e-4);
}

// Eye on the target at frame 10, apart at 11: the view of frame 11. Looking
// straight down at frame 0: the view of the first frame that does not.
TEST(Camera, DegenerateViewsAreSkipped) {
  NEED_WINDOW();
  {
    TestCamera c({{10, 0, 0, 5}, {12, 0, -10, 5}}, {{0, 0, 0, 5}}, {});
    const float origin[3] = {0, 0, 5};
    float eye[3];
    c.Apply(10, origin, eye);
    EXPECT_FLOAT_EQ(c.Camera.Position.y, -5);
    EXPECT_NEAR(eye[2], -5, 1e-4);
  }
  {
    TestCamera c({{0, 0, 0, 10}, {1, 0, -1, 10}, {2, 0, -2, 10}}, {{0, 0, 0, 0}}, {});
    const float origin[3] = {0, 0, 0};
    float eye[3];
    c.Apply(0, origin, eye);
    EXPECT_GT(std::fabs(c.Camera.Position.y), 0.5f);
  }
}

// A camera that never has a usable view, eye on target at every tick, or
// looking straight down at every tick, even with keys far in the future:
// the search ends and the last values are used.
TEST(Camera, SearchWithoutAUsableViewEnds) {
  NEED_WINDOW();
  {
    TestCamera c({{0, 1, 1, 1}, {100, 1, 1, 1}}, {{0, 1, 1, 1}}, {});
    const float origin[3] = {0, 0, 0};
    float eye[3];
    c.Apply(0, origin, eye);
    c.Apply(5000, origin, eye);
    EXPECT_FLOAT_EQ(c.Camera.Position.x, 1);
    EXPECT_FLOAT_EQ(c.Camera.Target.z, 1);
  }
  {
    TestCamera c({{0, 0, 0, 10}, {100000000, 0, 0, 20}}, {{0, 0, 0, 0}}, {});
    const float origin[3] = {0, 0, 0};
    float eye[3];
    c.Apply(0, origin, eye);
    EXPECT_FLOAT_EQ(c.Camera.Target.z, 0);
    EXPECT_EQ(CameraSearchEnd(c.Camera.PositionTrack, c.Camera.TargetTrack, 7), 7 + CAMERA_SEARCH_LIMIT);
  }
  {
    TestCamera c({}, {}, {});
    const float origin[3] = {0, 0, 0};
    float eye[3];
    c.Apply(3, origin, eye);
  }
}
