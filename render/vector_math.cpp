#include "render/vector_math.h"

#include <cmath>

Vector3 set(float x, float y, float z) { return Vector3{x, y, z}; }

// Squares are summed in double so that tiny vectors keep a non-zero length.
static double LengthSquaredWide(const Vector3 &v) {
  return (double)v.x * v.x + (double)v.y * v.y + (double)v.z * v.z;
}

float lengthSquared(const Vector3 &v) { return (float)LengthSquaredWide(v); }

float length(const Vector3 &v) { return (float)std::sqrt(LengthSquaredWide(v)); }

void normalize(Vector3 &v) {
  double l = std::sqrt(LengthSquaredWide(v));
  if (l == 0) {
    v = Vector3{0, 0, 0};
    return;
  }
  float r = (float)(1.0 / l);
  v.x *= r;
  v.y *= r;
  v.z *= r;
}

float dot(const Vector3 &a, const Vector3 &b) {
  return (float)((double)a.x * b.x + (double)a.y * b.y + (double)a.z * b.z);
}

Vector3 cross(const Vector3 &a, const Vector3 &b) {
  return Vector3{a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - a.y * b.x};
}

Quaternion conjugate(const Quaternion &q) { return Quaternion{q.w, -q.x, -q.y, -q.z}; }

Matrix16 quaternionToMatrix(const Quaternion &q) {
  float w = q.w, x = q.x, y = q.y, z = q.z;
  return Matrix16{{
      1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y), 0,
      2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x), 0,
      2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y), 0,
      0, 0, 0, 1}};
}
