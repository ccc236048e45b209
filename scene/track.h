// Keyframe tracks: vector tracks (position, scale, roll) are cubic Hermite
// curves with tangents from the neighbouring keys; rotation tracks hold
// absolute quaternions joined by spherical Bezier curves.
//
// Calling order: init with the final key count, add keys in ascending frame
// order, prepare once, then sample (sampleVectorTrack, sampleRotationTrack).
#pragma once

#include "render/quaternion.h"
#include "render/vector_math.h"

#include <cstdint>

struct VectorKey {
  int32_t Frame;
  float Tension;    // tangent factor, 0.5 unless the file gives one
  Vector3 Value;    // a roll track holds the angle in x
  Vector3 Tangent;  // set by TrackPrepare
};

struct VectorTrack {
  uint32_t Capacity;
  uint32_t KeyCount;
  VectorKey *Keys;
};

struct RotationKey {
  int32_t Frame;
  Quaternion Rotation;    // absolute orientation
  Quaternion InControl;   // Bezier control before the key
  Quaternion OutControl;  // Bezier control after the key
};

struct RotationTrack {
  uint32_t Capacity;
  uint32_t KeyCount;
  RotationKey *Keys;
};

// A new key array of the given capacity; an earlier array is abandoned.
void TrackInit(VectorTrack &track, uint32_t capacity);
// Keys beyond the capacity are dropped.
void TrackAddKey(VectorTrack &track, int32_t frame, float tension, float x, float y, float z);
void TrackPrepare(VectorTrack &track);
// The track's value at a frame; with no keys the outputs are left as they are.
void sampleVectorTrack(const VectorTrack &track, int32_t frame, float &x, float &y, float &z);
void sampleVectorTrack(const VectorTrack &track, int32_t frame, Vector3 &out);

void RotationTrackInit(RotationTrack &track, uint32_t capacity);
void RotationTrackAddKey(RotationTrack &track, int32_t frame, const Quaternion &rotation);
void RotationTrackPrepare(RotationTrack &track);
// The rotation at a frame; with no keys out is left as it is.
void sampleRotationTrack(const RotationTrack &track, int32_t frame, Quaternion &out);

// (frame - from) / (to - from), from the integer differences: where a frame
// lies between two keys.
float KeyFraction(int32_t frame, int32_t from, int32_t to);

// Releases a track's keys and empties it (tools and tests; the show keeps
// its tracks until it ends).
void TrackFree(VectorTrack &track);
void RotationTrackFree(RotationTrack &track);
