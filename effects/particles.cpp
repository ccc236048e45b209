#include "effects/particles.h"

#include "effects/flares.h"
#include "effects/show_random.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <cmath>

// A point drawn around c on each axis from a cube of edge w: c + w/2 minus
// a whole number of thousandths below round(w * 1000), axes x, y, z in turn.
static float SpreadDraw(float c, float w) {
  int32_t steps = (int32_t)std::nearbyint((double)w * 1000.0);
  return (float)((double)c + (double)w * 0.5 - RandomInt(steps) * 0.001);
}

static Vector3 SpreadDraw(const Vector3 &c, float w) {
  float x = SpreadDraw(c.x, w);
  float y = SpreadDraw(c.y, w);
  float z = SpreadDraw(c.z, w);
  return Vector3{x, y, z};
}

void CreateParticleSystem(ParticleSystem &system, float red, float green, float blue, const Vector3 &origin,
                          const Vector3 &baseVelocity, const Vector3 &acceleration, uint32_t count, int32_t life,
                          int32_t lifeRandom, float size, float positionSpread, float velocitySpread) {
  system.Life = life;
  system.Count = count;
  system.LifeRandom = lifeRandom;
  system.Size = size;
  system.PositionSpread = positionSpread;
  system.VelocitySpread = velocitySpread;
  system.Particles = new Particle[count];
  system.Origin = origin;
  system.BaseVelocity = baseVelocity;
  system.Acceleration = acceleration;
  system.Colour[0] = red;
  system.Colour[1] = green;
  system.Colour[2] = blue;
  system.Visible = true;
  for (uint32_t i = 0; i < count; i++) {
    Particle &p = system.Particles[i];
    p.Position = SpreadDraw(system.Origin, positionSpread);
    p.Velocity = SpreadDraw(system.BaseVelocity, velocitySpread);
    p.LifeLeft = RandomInt(life + lifeRandom);
    // + 0.2 here and again in ParticleSprite: the snow's brightness in the pictures is both together.
    for (int c = 0; c < 3; c++) p.Colour[c] = system.Colour[c] < 0 ? RandomReal() : system.Colour[c] + 0.2f;
  }
}

void FreeParticleSystem(ParticleSystem &system) {
  delete[] system.Particles;
  system = ParticleSystem{};
}

void MoveEmitter(ParticleSystem &system, const Vector3 &position) {
  // Origin + (position - Origin), not position: its rounding places the snow, and the captured pictures depend on it.
  system.Origin.x += position.x - system.Origin.x;
  system.Origin.y += position.y - system.Origin.y;
  system.Origin.z += position.z - system.Origin.z;
}

// A particle at the end of its life starts again at the emitter.
static void Rethrow(ParticleSystem &system, Particle &p) {
  p.Position = SpreadDraw(system.Origin, system.PositionSpread);
  p.Velocity = SpreadDraw(system.BaseVelocity, system.VelocitySpread);
  p.LifeLeft = system.Life + RandomInt(system.LifeRandom);
  for (int c = 0; c < 3; c++)
    if (system.Colour[c] < 0) p.Colour[c] = RandomReal();
}

void UpdateParticleSystem(ParticleSystem &system, uint32_t ticks) {
  const Vector3 a = system.Acceleration;
  for (uint32_t step = 0; step < ticks; step++) {
    for (uint32_t i = 0; i < system.Count; i++) {
      Particle &p = system.Particles[i];
      p.Velocity = add(p.Velocity, a);
      p.Position = add(p.Position, p.Velocity);
      p.LifeLeft -= 1;
      if (p.LifeLeft <= 0) Rethrow(system, p);
    }
  }
}

ParticleQuad ParticleSprite(const ParticleSystem &system, const Particle &p, const Vector3 &up,
                            const Vector3 &right) {
  // Alpha runs from 1 at the longest life down to 0; a life of one tick or
  // less in all has nothing to fade over and is drawn at full alpha.
  int32_t span = system.Life + system.LifeRandom - 1;
  float f = span > 0 ? 1.0f / (float)span : 1.0f;
  float a = (float)p.LifeLeft * f;
  if (a > 1) a = 1;
  ParticleQuad q;
  q.Colour[0] = p.Colour[0] + 0.2f;
  q.Colour[1] = p.Colour[1] + 0.2f;
  q.Colour[2] = p.Colour[2] + 0.2f;
  q.Colour[3] = a;
  float s = system.Size * a;
  Vector3 u = scale(up, s);
  Vector3 r = scale(right, s);
  Vector3 c = sub(p.Position, scale(add(u, r), 0.5f));
  q.Corner[0] = c;
  q.Corner[1] = add(c, u);
  q.Corner[2] = add(add(c, u), r);
  q.Corner[3] = add(c, r);
  return q;
}

static void DrawParticleSystem(const ParticleSystem &system, const Vector3 &up, const Vector3 &right) {
  static const float TexCoords[4][2] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};
  glBindTexture(GL_TEXTURE_2D, system.Texture);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (float)system.TexEnv);
  glBegin(GL_QUADS);
  for (uint32_t i = 0; i < system.Count; i++) {
    ParticleQuad q = ParticleSprite(system, system.Particles[i], up, right);
    glColor4fv(q.Colour);
    for (int v = 0; v < 4; v++) {
      glTexCoord2fv(TexCoords[v]);
      glVertex3fv(&q.Corner[v].x);
    }
  }
  glEnd();
}

void DrawParticleSystems(Scene &scene) {
  if (!scene.ParticleSystems || scene.ParticleSystemCount == 0) return;
  if (!scene.Cameras || scene.CameraCount == 0 || scene.ActiveCamera >= scene.CameraCount) return;
  Vector3 dir, right, up;
  BillboardAxes(scene.Cameras[scene.ActiveCamera], dir, right, up);
  BeginAdditiveSprites();
  for (uint32_t i = 0; i < scene.ParticleSystemCount; i++)
    if (scene.ParticleSystems[i].Visible) DrawParticleSystem(scene.ParticleSystems[i], up, right);
  EndAdditiveSprites();
}
