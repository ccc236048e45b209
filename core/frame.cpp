#include "core/frame.h"

#include "core/overlay.h"
#include "effects/camera.h"
#include "effects/flares.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "render/mesh_draw.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <cmath>

int32_t CurrentTick;
int32_t PreviousTick;

int32_t TickOfMs(int32_t ms) {
  // nearbyint rounds halves to even in the default rounding mode.
  return (int32_t)std::nearbyint((double)ms * 60.0 / 1000.0);
}

static void DrawObject(Scene &scene, uint32_t i) {
  glPushMatrix();
  applyObjectTransform(scene, i, CurrentTick, true, false);
  drawMesh(scene.Objects[i], scene, CurrentTick);
  glPopMatrix();
}

static void DrawPass(Scene &scene, bool transparent) {
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (scene.Objects[i].Transparent == transparent) DrawObject(scene, i);
}

static void StepParticles(Scene &scene) {
  if (CurrentTick <= PreviousTick || !scene.ParticleSystems) return;
  // One system per light, at the light's index.
  uint32_t count = scene.LightCount < scene.ParticleSystemCount ? scene.LightCount : scene.ParticleSystemCount;
  for (uint32_t L = 0; L < count; L++) {
    MoveEmitter(scene.ParticleSystems[L], scene.Lights[L].Position);
    UpdateParticleSystem(scene.ParticleSystems[L], (uint32_t)(CurrentTick - PreviousTick));
  }
}

static void AdvanceTick() {
  PreviousTick = CurrentTick;
  CurrentTick = TickOfMs(ClockMs());
}

void StepFrame() {
  AdvanceTick();
  MoveLights(ShowScene, CurrentTick);
  StepParticles(ShowScene);
}

void DrawFrame() {
  Scene &scene = ShowScene;
  AdvanceTick();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (scene.Cameras && scene.ActiveCamera < scene.CameraCount)
    scene.Cameras[scene.ActiveCamera].DepthScale = (float)(1.0 + 0.1 * std::sin(CurrentTick * M_PI / 200.0));
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  ApplyCamera(scene, CurrentTick % CAMERA_LOOP_TICKS);

  glPushMatrix();
  UpdateLights(scene, CurrentTick, CurrentTick - PreviousTick);
  glPopMatrix();

  glEnable(GL_FOG);
  DrawPass(scene, false);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glDisable(GL_CULL_FACE);
  DrawPass(scene, true);
  glEnable(GL_CULL_FACE);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glDisable(GL_FOG);

  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  DrawFlares(scene, CurrentTick);
  glPopMatrix();

  StepParticles(scene);
  glPushMatrix();
  DrawParticleSystems(scene);
  glPopMatrix();

  DrawScroller(CurrentTick);
  // Off then on is a no-op on purpose: the frame keeps the show's GL call order one for one (GL call traces line up).
  glDisable(GL_BLEND);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  AnimateBanner(CurrentTick);
  DrawBanner(Banner, CurrentTick);
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

void DisplayFrame() {
  DrawFrame();
  glutSwapBuffers();
}
