#include "scene/track.h"

#include <cstdlib>

static const float ONE_THIRD = 0.333333343f;

void RotationTrackInit(RotationTrack &track, uint32_t capacity) {
  track.Capacity = capacity;
  track.KeyCount = 0;
  track.Keys = capacity ? (RotationKey *)calloc(capacity, sizeof(RotationKey)) : nullptr;
  if (capacity && !track.Keys) track.Capacity = 0;
}

void RotationTrackAddKey(RotationTrack &track, int32_t frame, const Quaternion &rotation) {
  if (track.KeyCount >= track.Capacity) return;
  RotationKey &key = track.Keys[track.KeyCount++];
  key.Frame = frame;
  key.Rotation = rotation;
}

// Control quaternions: the arc from the previous key extended by a third and
// the arc a third of the way to the next key, averaged; the incoming control
// is that point mirrored through the key.
void RotationTrackPrepare(RotationTrack &track) {
  uint32_t n = track.KeyCount;
  if (n <= 2) return;
  RotationKey *k = track.Keys;
  for (uint32_t i = 1; i + 1 < n; i++) {
    Quaternion a = slerp(k[i].Rotation, k[i - 1].Rotation, -ONE_THIRD);
    Quaternion b = slerp(k[i].Rotation, k[i + 1].Rotation, ONE_THIRD);
    Quaternion c = slerp(a, b, 0.5f);
    k[i].OutControl = c;
    k[i].InControl = slerp(k[i].Rotation, c, -1.0f);
  }
  k[0].OutControl = slerp(k[0].Rotation, k[1].Rotation, ONE_THIRD);
  k[n - 1].InControl = slerp(k[n - 1].Rotation, k[n - 2].Rotation, ONE_THIRD);
}

void sampleRotationTrack(const RotationTrack &track, int32_t frame, Quaternion &out) {
  uint32_t n = track.KeyCount;
  if (n == 0) return;
  const RotationKey *k = track.Keys;
  if (n == 1) {
    out = k[0].Rotation;
    return;
  }
  if (n == 2) {
    // Two keys at the same frame have no arc between them: the later one holds.
    if (k[1].Frame < frame || k[1].Frame == k[0].Frame) out = k[1].Rotation;
    else out = slerp(k[0].Rotation, k[1].Rotation, KeyFraction(frame, k[0].Frame, k[1].Frame));
    return;
  }
  uint32_t i = 0;
  while (i + 1 < n && !(k[i].Frame <= frame && frame < k[i + 1].Frame)) i++;
  if (i + 1 == n) {
    out = k[n - 1].Rotation;
    return;
  }
  float t = KeyFraction(frame, k[i].Frame, k[i + 1].Frame);
  Quaternion p0 = k[i].Rotation, p1 = k[i].OutControl, p2 = k[i + 1].InControl, p3 = k[i + 1].Rotation;
  Quaternion s1 = slerp(p0, p1, t), s2 = slerp(p1, p2, t), s3 = slerp(p2, p3, t);
  Quaternion s4 = slerp(s1, s2, t), s5 = slerp(s2, s3, t);
  out = slerp(s4, s5, t);
}

void RotationTrackFree(RotationTrack &track) {
  free(track.Keys);
  track = RotationTrack{0, 0, nullptr};
}
