// The scene's lights: moved along their tracks each frame and handed to the
// GL, and shown as distance-scaled flare sprites with six spinning glows.
#pragma once

#include "render/vector_math.h"

#include <cstdint>

struct Scene;
struct SceneCamera;

// One of the six glows of a light at a tick: its spin about the line of
// sight in degrees, its uniform scale and its colour.
struct FlareGlow {
  float Angle;
  float Scale;
  float Colour[4];
};

// Glow 0 .. 5 of a light of the given colour at the tick.
FlareGlow GlowAt(int glow, int32_t tick, const float colour[3]);
// The camera's line of sight and the right and up axes of sprites facing it,
// taken from the vertical (0, 0, -1).
void BillboardAxes(const SceneCamera &camera, Vector3 &dir, Vector3 &right, Vector3 &up);

// Samples every light's position at the tick and sets its GL position under
// the current (camera) modelview matrix. ticksElapsed is not used.
void UpdateLights(Scene &scene, int32_t tick, int32_t ticksElapsed);
// Only the sampling of UpdateLights: the lights' positions at the tick, no GL.
void MoveLights(Scene &scene, int32_t tick);
// Draws each light's flare and glows; call with the camera's modelview current.
void DrawFlares(Scene &scene, int32_t tick);
// Blended sprites that add light: no lighting, additive blending, no depth
// writes, both faces; End puts the frame's usual state back.
void BeginAdditiveSprites();
void EndAdditiveSprites();
// One textured quad spanned by a and b, centred on the current origin.
void DrawSpriteQuad(const Vector3 &a, const Vector3 &b);
