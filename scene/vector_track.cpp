#include "scene/track.h"

#include <cstdlib>

void TrackInit(VectorTrack &track, uint32_t capacity) {
  track.Capacity = capacity;
  track.KeyCount = 0;
  track.Keys = capacity ? (VectorKey *)calloc(capacity, sizeof(VectorKey)) : nullptr;
  if (capacity && !track.Keys) track.Capacity = 0;
}

void TrackAddKey(VectorTrack &track, int32_t frame, float tension, float x, float y, float z) {
  if (track.KeyCount >= track.Capacity) return;
  VectorKey &key = track.Keys[track.KeyCount++];
  key.Frame = frame;
  key.Tension = tension;
  key.Value = Vector3{x, y, z};
}

// Tangents are the tension times the difference of the neighbours' values,
// not scaled by the key spacing; the end keys get zero tangents.
void TrackPrepare(VectorTrack &track) {
  uint32_t n = track.KeyCount;
  if (n <= 2) return;
  VectorKey *k = track.Keys;
  for (uint32_t i = 1; i + 1 < n; i++) {
    k[i].Tangent.x = k[i].Tension * (k[i + 1].Value.x - k[i - 1].Value.x);
    k[i].Tangent.y = k[i].Tension * (k[i + 1].Value.y - k[i - 1].Value.y);
    k[i].Tangent.z = k[i].Tension * (k[i + 1].Value.z - k[i - 1].Value.z);
  }
  k[0].Tangent = Vector3{0, 0, 0};
  k[n - 1].Tangent = Vector3{0, 0, 0};
}

float KeyFraction(int32_t frame, int32_t from, int32_t to) {
  return (float)((double)((int64_t)frame - from) / (double)((int64_t)to - from));
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

void TrackFree(VectorTrack &track) {
  free(track.Keys);
  track = VectorTrack{0, 0, nullptr};
}
