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

void TrackFree(VectorTrack &track) {
  free(track.Keys);
  track = VectorTrack{0, 0, nullptr};
}
