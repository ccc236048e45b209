#include "effects/flares.h"

#include "scene/scene.h"

#include <GL/gl.h>
#include <cmath>

// Each glow spins at its own rate (degrees per tick, with pi as a plain rate
// factor), pulses between 3.0 and 5.5 (5.1) with its own period, and carries
// one colour channel of the light.
struct GlowRule {
  double SpinRate;
  double PulsePeriod;
  double PulseAmplitude;
  int Channel;  // 0 red, 1 green, 2 blue
};

static const GlowRule GlowTable[6] = {
    {0.5, 200, 2.5, 0},  {-0.4, 150, 2.5, 2}, {-0.2, 250, 2.1, 1},
    {-0.3, 225, 2.5, 0}, {0.1, 175, 2.5, 2},  {0.25, 275, 2.1, 1},
};

FlareGlow GlowAt(int glow, int32_t tick, const float colour[3]) {
  const GlowRule &rule = GlowTable[glow];
  FlareGlow g;
  g.Angle = (float)((double)tick * M_PI * rule.SpinRate);
  g.Scale = (float)(std::fabs(std::sin((double)tick * M_PI / rule.PulsePeriod)) * rule.PulseAmplitude + 3.0);
  for (int c = 0; c < 3; c++) g.Colour[c] = c == rule.Channel ? colour[c] + 0.2f : 0.2f;
  g.Colour[3] = 1;
  return g;
}

void BillboardAxes(const SceneCamera &camera, Vector3 &dir, Vector3 &right, Vector3 &up) {
  dir = sub(camera.Target, camera.Position);
  normalize(dir);
  right = cross(dir, Vector3{0, 0, -1});
  normalize(right);
  up = cross(dir, right);
  normalize(up);
}

void MoveLights(Scene &scene, int32_t tick) {
  if (!scene.Lights) return;
  for (uint32_t i = 0; i < scene.LightCount && i < SCENE_MAX_LIGHTS; i++)
    sampleVectorTrack(scene.Lights[i].PositionTrack, tick, scene.Lights[i].Position);
}

void UpdateLights(Scene &scene, int32_t tick, int32_t) {
  if (!scene.Lights || scene.LightCount == 0) return;
  MoveLights(scene, tick);
  for (uint32_t i = 0; i < scene.LightCount && i < SCENE_MAX_LIGHTS; i++) {
    const Vector3 &p = scene.Lights[i].Position;
    const float position[4] = {p.x, p.y, p.z, 1.0f};
    glLightfv(GL_LIGHT0 + i, GL_POSITION, position);
  }
}

void DrawSpriteQuad(const Vector3 &a, const Vector3 &b) {
  const Vector3 diagonal = add(a, b), middle = scale(diagonal, 0.5f);
  glTranslatef(-middle.x, -middle.y, -middle.z);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(0, 0, 0);
  glTexCoord2f(0, 1);
  glVertex3f(a.x, a.y, a.z);
  glTexCoord2f(1, 1);
  glVertex3f(diagonal.x, diagonal.y, diagonal.z);
  glTexCoord2f(1, 0);
  glVertex3f(b.x, b.y, b.z);
  glEnd();
}

static void DrawLightFlare(const SceneLight &light, const SceneCamera &camera, const Vector3 &dir,
                           const Vector3 &right, const Vector3 &up, int32_t tick) {
  Vector3 a = scale(up, light.FlareSize);
  Vector3 b = scale(right, light.FlareSize);
  glPushMatrix();
  glTranslatef(light.Position.x, light.Position.y, light.Position.z);

  // The flare grows with the distance, so it keeps its size on screen.
  glBindTexture(GL_TEXTURE_2D, light.FlareTex);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (float)light.FlareTexEnv);
  glPushMatrix();
  Vector3 toCamera = sub(camera.Position, light.Position);
  float d = length(toCamera);
  glScalef(d * 0.2f, d * 0.2f, d * 0.2f);
  glColor4f(light.Colour[0] + 0.2f, light.Colour[1] + 0.2f, light.Colour[2] + 0.2f, 1.0f);
  DrawSpriteQuad(a, b);
  glPopMatrix();

  glBindTexture(GL_TEXTURE_2D, light.GlowTexture);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (float)light.GlowTexEnv);
  for (int g = 0; g < 6; g++) {
    FlareGlow glow = GlowAt(g, tick, light.Colour);
    glPushMatrix();
    glRotatef(glow.Angle, dir.x, dir.y, dir.z);
    glScalef(glow.Scale, glow.Scale, glow.Scale);
    glColor4fv(glow.Colour);
    DrawSpriteQuad(a, b);
    glPopMatrix();
  }
  glPopMatrix();
}

void BeginAdditiveSprites() {
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDepthMask(GL_FALSE);
  glDisable(GL_CULL_FACE);
}

void EndAdditiveSprites() {
  glEnable(GL_CULL_FACE);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glEnable(GL_LIGHTING);
}

void DrawFlares(Scene &scene, int32_t tick) {
  if (!scene.Lights || scene.LightCount == 0) return;
  if (!scene.Cameras || scene.CameraCount == 0 || scene.ActiveCamera >= scene.CameraCount) return;
  const SceneCamera &camera = scene.Cameras[scene.ActiveCamera];
  Vector3 dir, right, up;
  BillboardAxes(camera, dir, right, up);
  BeginAdditiveSprites();
  for (uint32_t i = 0; i < scene.LightCount; i++) DrawLightFlare(scene.Lights[i], camera, dir, right, up, tick);
  EndAdditiveSprites();
}
