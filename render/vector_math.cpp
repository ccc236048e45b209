#include "render/vector_math.h"

#include "scene/track.h"

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

// Cubic Hermite interpolation between keys i and i + 1 at parameter t. The
// basis is evaluated in extended precision and each weight rounded to single.
static void HermiteSample(const VectorKey &a, const VectorKey &b, float t, float out[3]) {
  long double lt = t;
  float t2 = (float)(lt * lt);
  float t3 = (float)(lt * lt * lt);
  const long double two = 2.0L, three = 3.0L, minusTwo = -2.0L;
  float h1 = (float)(two * t3 - three * t2 + 1);
  float h2 = (float)(minusTwo * t3 + three * t2);
  float h3 = (float)((long double)t3 - two * t2 + t);
  float h4 = (float)((long double)t3 - t2);
  const float *pa = &a.Value.x, *pb = &b.Value.x, *ta = &a.Tangent.x, *tb = &b.Tangent.x;
  for (int c = 0; c < 3; c++)
    out[c] = (float)((long double)h1 * pa[c] + (long double)h2 * pb[c] + (long double)h3 * ta[c] +
                     (long double)h4 * tb[c]);
}

// (frame - from) / (to - from) from the integer differences.
static float KeyFraction(int32_t frame, int32_t from, int32_t to) {
  return (float)((double)((int64_t)frame - from) / (double)((int64_t)to - from));
}

void sampleVectorTrack(const VectorTrack &track, int32_t frame, float &x, float &y, float &z) {
  uint32_t n = track.KeyCount;
  if (n == 0) return;
  const VectorKey *k = track.Keys;
  float out[3];
  if (n == 1) {
    out[0] = k[0].Value.x, out[1] = k[0].Value.y, out[2] = k[0].Value.z;
  } else if (n == 2) {
    // Two keys at the same frame have no line between them: the later one holds.
    if (k[1].Frame < frame || k[1].Frame == k[0].Frame) {
      out[0] = k[1].Value.x, out[1] = k[1].Value.y, out[2] = k[1].Value.z;
    } else {
      float t = KeyFraction(frame, k[0].Frame, k[1].Frame);
      out[0] = k[0].Value.x + (k[1].Value.x - k[0].Value.x) * t;
      out[1] = k[0].Value.y + (k[1].Value.y - k[0].Value.y) * t;
      out[2] = k[0].Value.z + (k[1].Value.z - k[0].Value.z) * t;
    }
  } else {
    uint32_t i = 0;
    while (i + 1 < n && !(k[i].Frame <= frame && frame < k[i + 1].Frame)) i++;
    if (i + 1 == n) {
      out[0] = k[n - 1].Value.x, out[1] = k[n - 1].Value.y, out[2] = k[n - 1].Value.z;
    } else {
      HermiteSample(k[i], k[i + 1], KeyFraction(frame, k[i].Frame, k[i + 1].Frame), out);
    }
  }
  x = out[0];
  y = out[1];
  z = out[2];
}

void sampleVectorTrack(const VectorTrack &track, int32_t frame, Vector3 &out) {
  sampleVectorTrack(track, frame, out.x, out.y, out.z);
}
