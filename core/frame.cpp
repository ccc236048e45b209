#include "core/frame.h"

#include "core/overlay.h"
#include "effects/camera.h"
#include "effects/flares.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "platform/end_signals.h"
#include "render/mesh_draw.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <cmath>

int32_t CurrentTick;
int32_t PreviousTick;
// The tick counts behind them, which do not wrap.
static int64_t CurrentTicks, PreviousTicks;

int64_t TickOfMs(int64_t ms) {
  const int64_t limit = (int64_t)1 << 61;
  ms = ms > limit ? limit : ms < -limit ? -limit : ms;
  // ms x 3 / 50 in whole numbers: floor quotient and remainder 0..49.
  int64_t q = ms * 3 / 50, r = ms * 3 % 50;
  if (r < 0) q -= 1, r += 50;
  if (r > 25 || (r == 25 && (q & 1))) q++;
  return q;
}

int32_t TimelineTick(int64_t ticks) {
  int64_t t = ticks % SHOW_TICK_WRAP;
  return (int32_t)(t < 0 ? t + SHOW_TICK_WRAP : t);
}

uint32_t CatchUpTicks(int64_t from, int64_t to) {
  int64_t d;
  if (to <= from) return 0;
  if (__builtin_sub_overflow(to, from, &d) || d > MAX_CATCH_UP_TICKS) return MAX_CATCH_UP_TICKS;
  return (uint32_t)d;
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
  uint32_t steps = CatchUpTicks(PreviousTicks, CurrentTicks);
  if (steps == 0 || !scene.ParticleSystems) return;
  // One system per light, at the light's index.
  uint32_t count = scene.LightCount < scene.ParticleSystemCount ? scene.LightCount : scene.ParticleSystemCount;
  for (uint32_t L = 0; L < count; L++) {
    MoveEmitter(scene.ParticleSystems[L], scene.Lights[L].Position);
    UpdateParticleSystem(scene.ParticleSystems[L], steps);
  }
}

static void AdvanceTick() {
  PreviousTicks = CurrentTicks;
  CurrentTicks = TickOfMs(ClockMs());
  PreviousTick = CurrentTick;
  CurrentTick = TimelineTick(CurrentTicks);
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
  // A safe point before the swap, which waits for the drawing to finish: a
  // signal that came during the frame ends the show without that wait.
  CheckEndSignal();
  glutSwapBuffers();
}
