// Stand-ins for the snow, the flares and the overlays until they are built:
// the frame driver calls them at their places and they draw nothing.
#include "core/overlay.h"
#include "effects/flares.h"
#include "effects/particles.h"

const char ScrollText[256] = "";

void CreateParticleSystem(ParticleSystem &system, float red, float green, float blue, const Vector3 &origin,
                          const Vector3 &baseVelocity, const Vector3 &acceleration, uint32_t count, int32_t life,
                          int32_t lifeRandom, float size, float positionSpread, float velocitySpread) {
  system = ParticleSystem{};
  system.Life = life;
  system.Count = 0;  // no particles until the simulation exists
  (void)count;
  system.LifeRandom = lifeRandom;
  system.Size = size;
  system.PositionSpread = positionSpread;
  system.VelocitySpread = velocitySpread;
  system.Origin = origin;
  system.BaseVelocity = baseVelocity;
  system.Acceleration = acceleration;
  system.Colour[0] = red;
  system.Colour[1] = green;
  system.Colour[2] = blue;
  system.Visible = true;
}

void MoveEmitter(ParticleSystem &system, const Vector3 &position) { system.Origin = position; }
void UpdateParticleSystem(ParticleSystem &, uint32_t) {}
void DrawParticleSystems(Scene &) {}

void UpdateLights(Scene &, int32_t, int32_t) {}
void DrawFlares(Scene &, int32_t) {}
void DrawSpriteQuad(const Vector3 &, const Vector3 &) {}

void DrawScroller(int32_t) {}
void DrawText2D(const char *, float, float, float, float, float, float, float) {}
void AnimateBanner(int32_t) {}
void DrawBanner(BannerRecord &, int32_t) {}
