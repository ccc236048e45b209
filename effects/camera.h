// The view from the scene's animated camera: eye and target from their
// tracks, an up vector square to the line of sight, the camera's roll and
// the pulsing depth scale.
#pragma once

#include <cstdint>

struct Scene;
struct VectorTrack;

// The search for a usable view stops here, so a camera that never has
// one (eye on target, or looking straight up or down, at every tick)
// still ends: at the later last key of the eye and target tracks, and at
// most this many ticks past the frame asked for.
enum { CAMERA_SEARCH_LIMIT = 2200 };

// Multiplies the depth scale, the roll and the look-at onto the current
// (modelview, identity) matrix. Does nothing without a camera.
void ApplyCamera(Scene &scene, int32_t frame);
// The last frame that the search for a usable view may look at.
int32_t CameraSearchEnd(const VectorTrack &eye, const VectorTrack &target, int32_t frame);
