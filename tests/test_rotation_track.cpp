// Quaternion products, slerp and rotation-track sampling.
// frosten-test-links: base
#include "render/quaternion.h"
#include "scene/track.h"

#include <gtest/gtest.h>

#include <cmath>

static const float PI = 3.14159265f;

// The angle about z of a quaternion (w, 0, 0, z), in degrees.
static float AngleAboutZ(const Quaternion &q) { return 2 * std::atan2(q.z, q.w) * 180 / PI; }

static RotationTrack MakeTrack(std::initializer_list<std::pair<int, Quaternion>> keys) {
  RotationTrack t{};
  RotationTrackInit(t, (uint32_t)keys.size());
  for (auto &k : keys) RotationTrackAddKey(t, k.first, k.second);
  RotationTrackPrepare(t);
  return t;
}

TEST(Quaternions, ProductAndAngleAxis) {
  Quaternion q90 = quaternionFromAngleAxis(PI / 2, 0, 0, 1);
  EXPECT_NEAR(AngleAboutZ(q90), 90, 1e-4);
  Quaternion q180 = quaternionMultiply(q90, q90);
  EXPECT_NEAR(q180.w, 0, 1e-6);
  EXPECT_NEAR(q180.z, 1, 1e-6);
  // i * j = k, j * i = -k
  Quaternion k = quaternionMultiply(Quaternion{0, 1, 0, 0}, Quaternion{0, 0, 1, 0});
  EXPECT_EQ(k.z, 1.0f);
  Quaternion mk = quaternionMultiply(Quaternion{0, 0, 1, 0}, Quaternion{0, 1, 0, 0});
  EXPECT_EQ(mk.z, -1.0f);
  // The axis is not normalised.
  Quaternion unnormal = quaternionFromAngleAxis(PI, 0, 0, 2);
  EXPECT_NEAR(unnormal.z, 2, 1e-6);
  EXPECT_EQ(quaternionDot(Quaternion{1, 2, 3, 4}, Quaternion{5, 6, 7, 8}), 70.0f);
}

TEST(Quaternions, SlerpOppositesBlendLinearly) {
  Quaternion a{1, 0, 0, 0}, b{-1, 0, 0, 0};
  Quaternion mid = slerp(a, b, 0.5f);
  EXPECT_EQ(mid.w, 0.0f);
  Quaternion quarter = slerp(a, b, 0.25f);
  EXPECT_EQ(quarter.w, 0.5f);
}

TEST(RotationTrackSampling, TwoKeys) {
  Quaternion q0{1, 0, 0, 0};
  Quaternion q1 = quaternionFromAngleAxis(PI / 2, 0, 0, 1);
  RotationTrack t = MakeTrack({{0, q0}, {100, q1}});
  Quaternion q{};
  sampleRotationTrack(t, 50, q);
  EXPECT_NEAR(AngleAboutZ(q), 45, 1e-3);
  sampleRotationTrack(t, 150, q);
  EXPECT_EQ(q.w, q1.w);
  EXPECT_EQ(q.z, q1.z);
  sampleRotationTrack(t, -50, q);  // extrapolates along the arc
  EXPECT_NEAR(AngleAboutZ(q), -45, 1e-3);
  RotationTrackFree(t);

  // A file turn of 270 degrees is travelled the long way round.
  Quaternion q270 = quaternionMultiply(q0, quaternionFromAngleAxis(3 * PI / 2, 0, 0, 1));
  RotationTrack longWay = MakeTrack({{0, q0}, {100, q270}});
  sampleRotationTrack(longWay, 50, q);
  EXPECT_NEAR(AngleAboutZ(q), 135, 1e-3);
  RotationTrackFree(longWay);
}

TEST(RotationTrackSampling, EmptyAndOneKeyAndEqualFrames) {
  RotationTrack empty{};
  RotationTrackInit(empty, 4);
  Quaternion q{9, 8, 7, 6};
  sampleRotationTrack(empty, 3, q);
  EXPECT_EQ(q.w, 9.0f);
  EXPECT_EQ(q.z, 6.0f);
  RotationTrackFree(empty);

  RotationTrack same = MakeTrack({{5, Quaternion{1, 0, 0, 0}}, {5, Quaternion{0, 0, 0, 1}}});
  sampleRotationTrack(same, 5, q);
  EXPECT_EQ(q.z, 1.0f);
  EXPECT_FALSE(std::isnan(q.w));
  RotationTrackFree(same);
}

TEST(RotationTrackSampling, ThreeKeysBezier) {
  Quaternion q0{1, 0, 0, 0};
  Quaternion q1 = quaternionFromAngleAxis(PI / 2, 0, 0, 1);
  Quaternion q2 = quaternionMultiply(q1, q1);
  RotationTrack t = MakeTrack({{0, q0}, {10, q1}, {20, q2}});
  // Evenly spaced turns about one axis: the curve passes the keys and the middle.
  Quaternion q{};
  sampleRotationTrack(t, 10, q);
  EXPECT_NEAR(AngleAboutZ(q), 90, 1e-3);
  sampleRotationTrack(t, 15, q);
  EXPECT_NEAR(AngleAboutZ(q), 135, 1e-2);
  sampleRotationTrack(t, 5, q);
  EXPECT_NEAR(AngleAboutZ(q), 45, 1e-2);
  // At the last key and before the first: the last key.
  sampleRotationTrack(t, 20, q);
  EXPECT_EQ(q.w, q2.w);
  EXPECT_EQ(q.z, q2.z);
  sampleRotationTrack(t, -3, q);
  EXPECT_EQ(q.w, q2.w);
  // The control points lie a sixth of the turn either side of the middle key.
  EXPECT_NEAR(AngleAboutZ(t.Keys[1].OutControl), 120, 1e-2);
  EXPECT_NEAR(AngleAboutZ(t.Keys[1].InControl), 60, 1e-2);
  EXPECT_NEAR(AngleAboutZ(t.Keys[0].OutControl), 30, 1e-2);
  EXPECT_NEAR(AngleAboutZ(t.Keys[2].InControl), 150, 1e-2);
  RotationTrackFree(t);
}
