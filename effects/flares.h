// The scene's lights: moved along their tracks each frame and handed to the
// GL, and shown as distance-scaled flare sprites with six spinning glows.
#pragma once

#include "render/vector_math.h"

#include <cstdint>

struct Scene;

// Samples every light's position at the tick and sets its GL position under
// the current (camera) modelview matrix. ticksElapsed is not used.
void UpdateLights(Scene &scene, int32_t tick, int32_t ticksElapsed);
// Draws each light's flare and glows; call with the camera's modelview current.
void DrawFlares(Scene &scene, int32_t tick);
// One textured quad spanned by a and b, centred on the current origin.
void DrawSpriteQuad(const Vector3 &a, const Vector3 &b);
