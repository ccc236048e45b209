#include "render/quaternion.h"

#include <cmath>

Quaternion quaternionFromAngleAxis(float angle, float x, float y, float z) {
  float half = angle / 2;
  float s = std::sin(half);
  return Quaternion{std::cos(half), x * s, y * s, z * s};
}

Quaternion quaternionMultiply(const Quaternion &a, const Quaternion &b) {
  return Quaternion{a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
                    a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                    a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
                    a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x};
}

float quaternionDot(const Quaternion &a, const Quaternion &b) {
  return a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
}

Quaternion slerp(const Quaternion &a, const Quaternion &b, float t) {
  const float nearlyParallel = 9.99999997e-07f;
  float c = quaternionDot(a, b);
  float wa, wb;
  if (1 - std::fabs(c) < nearlyParallel) {
    wa = 1 - t;
    wb = t;
  } else {
    float theta = (float)std::acos((double)c);
    float k = (float)(1 / std::sin((double)theta));
    wa = (float)(std::sin((double)theta - (double)t * theta) * k);
    wb = (float)(std::sin((double)t * theta) * k);
  }
  return Quaternion{wa * a.w + wb * b.w, wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
}
