// Quaternion products and spherical interpolation for rotation tracks.
#pragma once

#include "render/vector_math.h"

// (cos(angle/2), axis * sin(angle/2)); the axis is used as given.
Quaternion quaternionFromAngleAxis(float angle, float x, float y, float z);
// The Hamilton product a * b.
Quaternion quaternionMultiply(const Quaternion &a, const Quaternion &b);
float quaternionDot(const Quaternion &a, const Quaternion &b);
// Spherical linear interpolation along the arc from a to b as they stand (no
// sign correction); t may lie outside 0 to 1.
Quaternion slerp(const Quaternion &a, const Quaternion &b, float t);
