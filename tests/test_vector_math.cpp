// Vector, quaternion and matrix helpers, and vector-track sampling.
// frosten-test-links: base
#include "render/quaternion.h"
#include "render/vector_math.h"
#include "scene/track.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(VectorMath, NormalizeZeroTinyAndOrdinary) {
  Vector3 zero = set(0, 0, 0);
  normalize(zero);
  EXPECT_EQ(zero.x, 0.0f);
  EXPECT_EQ(zero.y, 0.0f);
  EXPECT_EQ(zero.z, 0.0f);

  // Its square underflows in single precision, but it is still scaled.
  Vector3 tiny = set(1e-30f, 0, 0);
  normalize(tiny);
  EXPECT_NEAR(tiny.x, 1.0f, 1e-6f);
  EXPECT_EQ(tiny.y, 0.0f);

  Vector3 v = set(3, 4, 12);
  normalize(v);
  float r = (float)(1.0 / 13.0);
  EXPECT_EQ(v.x, 3 * r);
  EXPECT_EQ(v.y, 4 * r);
  EXPECT_EQ(v.z, 12 * r);
  EXPECT_FLOAT_EQ(length(set(3, 4, 12)), 13.0f);
  EXPECT_FLOAT_EQ(lengthSquared(set(3, 4, 12)), 169.0f);
}

TEST(VectorMath, CrossAndDot) {
  Vector3 c = cross(set(1, 0, 0), set(0, 1, 0));
  EXPECT_EQ(c.x, 0.0f);
  EXPECT_EQ(c.y, 0.0f);
  EXPECT_EQ(c.z, 1.0f);
  Vector3 d = cross(set(1, 2, 3), set(4, 5, 6));
  EXPECT_EQ(d.x, -3.0f);
  EXPECT_EQ(d.y, 6.0f);
  EXPECT_EQ(d.z, -3.0f);
  EXPECT_EQ(dot(set(1, 2, 3), set(4, 5, 6)), 32.0f);
}

TEST(VectorMath, QuaternionToMatrix) {
  Matrix16 m = quaternionToMatrix(Quaternion{1, 0, 0, 0});
  for (int i = 0; i < 16; i++) EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;

  // 90 degrees about z, in array order: the GL reads the columns.
  float s = std::sqrt(0.5f);
  Matrix16 r = quaternionToMatrix(Quaternion{s, 0, 0, s});
  EXPECT_NEAR(r.m[0], 0, 1e-6);
  EXPECT_NEAR(r.m[1], -1, 1e-6);
  EXPECT_NEAR(r.m[4], 1, 1e-6);
  EXPECT_NEAR(r.m[5], 0, 1e-6);
  EXPECT_NEAR(r.m[10], 1, 1e-6);
  EXPECT_EQ(r.m[15], 1.0f);

  // Not normalised: a scaled quaternion gives a different matrix.
  Matrix16 big = quaternionToMatrix(Quaternion{2, 0, 0, 0});
  EXPECT_EQ(big.m[0], 1.0f);
  Matrix16 scaled = quaternionToMatrix(Quaternion{0, 2, 0, 0});
  EXPECT_EQ(scaled.m[5], -7.0f);

  Quaternion c = conjugate(Quaternion{1, 2, 3, 4});
  EXPECT_EQ(c.w, 1.0f);
  EXPECT_EQ(c.x, -2.0f);
  EXPECT_EQ(c.y, -3.0f);
  EXPECT_EQ(c.z, -4.0f);
}

static VectorTrack MakeTrack(std::initializer_list<std::pair<int, float>> keys, float tension = 0.5f) {
  VectorTrack t{};
  TrackInit(t, (uint32_t)keys.size());
  for (auto &k : keys) TrackAddKey(t, k.first, tension, k.second, 2 * k.second, -k.second);
  TrackPrepare(t);
  return t;
}

TEST(VectorTrackSampling, EmptyAndSingleKey) {
  VectorTrack empty{};
  TrackInit(empty, 0);
  float x = 7, y = 8, z = 9;
  sampleVectorTrack(empty, 5, x, y, z);
  EXPECT_EQ(x, 7.0f);
  EXPECT_EQ(y, 8.0f);
  EXPECT_EQ(z, 9.0f);

  VectorTrack one = MakeTrack({{10, 3}});
  Vector3 v{};
  sampleVectorTrack(one, -100, v);
  EXPECT_EQ(v.x, 3.0f);
  EXPECT_EQ(v.y, 6.0f);
  TrackFree(one);
}

TEST(VectorTrackSampling, TwoKeysInterpolateAndExtrapolate) {
  VectorTrack t = MakeTrack({{0, 0}, {10, 10}});
  Vector3 v{};
  sampleVectorTrack(t, 5, v);
  EXPECT_EQ(v.x, 5.0f);
  sampleVectorTrack(t, 10, v);  // t = 1 exactly
  EXPECT_EQ(v.x, 10.0f);
  sampleVectorTrack(t, 11, v);  // after the last key: its value
  EXPECT_EQ(v.x, 10.0f);
  sampleVectorTrack(t, -5, v);  // before the first key: extrapolated
  EXPECT_EQ(v.x, -5.0f);
  EXPECT_EQ(v.z, 5.0f);
  TrackFree(t);

  // Equal frames never divide by zero.
  VectorTrack same = MakeTrack({{4, 1}, {4, 2}});
  sampleVectorTrack(same, 0, v);
  EXPECT_EQ(v.x, 2.0f);
  sampleVectorTrack(same, 4, v);
  EXPECT_EQ(v.x, 2.0f);
  TrackFree(same);
}

TEST(VectorTrackSampling, HermiteWithTangents) {
  VectorTrack t = MakeTrack({{0, 0}, {10, 10}, {20, 40}});
  EXPECT_EQ(t.Keys[0].Tangent.x, 0.0f);
  EXPECT_EQ(t.Keys[1].Tangent.x, 20.0f);
  EXPECT_EQ(t.Keys[2].Tangent.x, 0.0f);
  Vector3 v{};
  sampleVectorTrack(t, 5, v);
  EXPECT_EQ(v.x, 2.5f);
  sampleVectorTrack(t, 10, v);
  EXPECT_EQ(v.x, 10.0f);
  // At and after the last key, and before the first: the last key's value.
  sampleVectorTrack(t, 20, v);
  EXPECT_EQ(v.x, 40.0f);
  sampleVectorTrack(t, -1, v);
  EXPECT_EQ(v.x, 40.0f);
  TrackFree(t);

  // Tension 0 on the middle key flattens it there.
  VectorTrack flat{};
  TrackInit(flat, 3);
  TrackAddKey(flat, 0, 0.5f, 0, 0, 0);
  TrackAddKey(flat, 10, 0.0f, 10, 0, 0);
  TrackAddKey(flat, 20, 0.5f, 40, 0, 0);
  TrackPrepare(flat);
  EXPECT_EQ(flat.Keys[1].Tangent.x, 0.0f);
  sampleVectorTrack(flat, 5, v);
  EXPECT_EQ(v.x, 5.0f);
  TrackFree(flat);
}

TEST(VectorTrackSampling, CapacityDropsExtraKeys) {
  VectorTrack t{};
  TrackInit(t, 2);
  TrackAddKey(t, 0, 0.5f, 1, 1, 1);
  TrackAddKey(t, 10, 0.5f, 2, 2, 2);
  TrackAddKey(t, 20, 0.5f, 3, 3, 3);
  EXPECT_EQ(t.KeyCount, 2u);
  Vector3 v{};
  sampleVectorTrack(t, 100, v);
  EXPECT_EQ(v.x, 2.0f);
  TrackFree(t);
}
