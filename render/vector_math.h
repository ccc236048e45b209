// Vectors, quaternions and 4x4 matrices in single precision.
#pragma once

#include <cstdint>

struct Vector3 {
  float x, y, z;
};

// Scalar part first.
struct Quaternion {
  float w, x, y, z;
};

// Sixteen floats in the order the GL matrix calls take them (column by column).
struct Matrix16 {
  float m[16];
};

Vector3 set(float x, float y, float z);
float lengthSquared(const Vector3 &v);
float length(const Vector3 &v);
// A vector of length exactly 0 becomes (0, 0, 0); any other is scaled by
// the reciprocal of its length, rounded to single precision first.
void normalize(Vector3 &v);
float dot(const Vector3 &a, const Vector3 &b);
Vector3 cross(const Vector3 &a, const Vector3 &b);
// Component by component, in single precision; inline, as the particles
// step with them every tick.
inline Vector3 add(const Vector3 &a, const Vector3 &b) { return Vector3{a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 sub(const Vector3 &a, const Vector3 &b) { return Vector3{a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 scale(const Vector3 &v, float s) { return Vector3{v.x * s, v.y * s, v.z * s}; }

Quaternion conjugate(const Quaternion &q);
// The rotation matrix of q, which is not normalised first.
Matrix16 quaternionToMatrix(const Quaternion &q);
