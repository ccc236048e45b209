// Snow fountains: one particle system per light, thrown from the light,
// advanced by whole ticks and drawn as camera-facing additive billboards.
#pragma once

#include "render/vector_math.h"

#include <cstdint>

struct Scene;

struct Particle {
  Vector3 Position;
  Vector3 Velocity;  // world units per tick
  int32_t LifeLeft;  // ticks
  float Colour[3];
};

struct ParticleSystem {
  int32_t Life;        // minimum life of a re-thrown particle, in ticks
  uint32_t Count;      // number of particles
  int32_t LifeRandom;  // random extra life, 0 .. LifeRandom - 1 ticks
  float Size;          // billboard edge at full life
  float PositionSpread;
  float VelocitySpread;
  Particle *Particles;
  Vector3 Origin;  // the emitter, following its light
  Vector3 BaseVelocity;
  Vector3 Acceleration;
  float Colour[3];  // a negative component means a random value per particle
  bool Visible;
  uint32_t Texture;  // GL texture name
  uint32_t TexEnv;   // GL texture-environment mode
};

void CreateParticleSystem(ParticleSystem &system, float red, float green, float blue, const Vector3 &origin,
                          const Vector3 &baseVelocity, const Vector3 &acceleration, uint32_t count, int32_t life,
                          int32_t lifeRandom, float size, float positionSpread, float velocitySpread);
// The emitter moves to the given position.
void MoveEmitter(ParticleSystem &system, const Vector3 &position);
// Advances the simulation by the given number of ticks; 0 does nothing.
void UpdateParticleSystem(ParticleSystem &system, uint32_t ticks);
// Draws every visible system of the scene.
void DrawParticleSystems(Scene &scene);
