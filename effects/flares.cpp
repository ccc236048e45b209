#include "effects/flares.h"

#include "scene/scene.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>

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
  dir = Vector3{camera.Target.x - camera.Position.x, camera.Target.y - camera.Position.y,
                camera.Target.z - camera.Position.z};
  normalize(dir);
  right = cross(dir, Vector3{0, 0, -1});
  normalize(right);
  up = cross(dir, right);
  normalize(up);
}

void UpdateLights(Scene &scene, int32_t tick, int32_t) {
  if (!scene.Lights || scene.LightCount == 0) return;
  for (uint32_t i = 0; i < scene.LightCount && i < SCENE_MAX_LIGHTS; i++) {
    SceneLight &light = scene.Lights[i];
    sampleVectorTrack(light.PositionTrack, tick, light.Position);
    const float position[4] = {light.Position.x, light.Position.y, light.Position.z, 1.0f};
    glLightfv(GL_LIGHT0 + i, GL_POSITION, position);
  }
}

// Only the part of a sprite where its texture is not black adds anything to
// the additively blended picture (the texture modulates the colour, and
// black adds zero). Each sprite is therefore drawn through a scissor box
// around that part on screen: the same pixels at a fraction of the fill,
// which is what the glows cost on a software GL.

// The non-black part of a texture in texture coordinates, widened by two
// texels for filtering; the whole range on an axis where it comes near the
// edge (the texture repeats).
struct SpriteExtent {
  uint32_t Texture;
  bool Empty;
  float S0, T0, S1, T1;
};

enum { MaxSpriteExtents = 16 };
static SpriteExtent SpriteExtents[MaxSpriteExtents];
static int SpriteExtentCount;

static void WidenToEdges(int low, int high, int size, float &from, float &to) {
  if (low - 2 <= 0 || high + 3 >= size) {
    from = 0, to = 1;
  } else {
    from = (float)(low - 2) / (float)size;
    to = (float)(high + 3) / (float)size;
  }
}

// Measured from the bound texture the first time it is drawn.
static SpriteExtent MeasureBoundTexture(uint32_t texture) {
  SpriteExtent e{texture, false, 0, 0, 1, 1};
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return e;
  uint8_t *pixels = (uint8_t *)malloc((size_t)w * h * 4);
  if (!pixels) return e;
  GLint packAlignment;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  int x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const uint8_t *p = &pixels[((size_t)y * w + x) * 4];
      if (p[0] | p[1] | p[2]) {
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
      }
    }
  free(pixels);
  if (x1 < 0) {
    e.Empty = true;
    return e;
  }
  WidenToEdges(x0, x1, w, e.S0, e.S1);
  WidenToEdges(y0, y1, h, e.T0, e.T1);
  return e;
}

static const SpriteExtent *ExtentOfBoundTexture(uint32_t texture) {
  for (int i = 0; i < SpriteExtentCount; i++)
    if (SpriteExtents[i].Texture == texture) return &SpriteExtents[i];
  if (SpriteExtentCount == MaxSpriteExtents) return nullptr;
  SpriteExtents[SpriteExtentCount] = MeasureBoundTexture(texture);
  return &SpriteExtents[SpriteExtentCount++];
}

void ForgetSpriteExtents() { SpriteExtentCount = 0; }

// Where the sprite's non-black part lands in window coordinates under the
// current matrices: four corners in order around. False when a corner lies
// behind the eye, so that its place cannot be bounded this way.
static bool ProjectExtent(const SpriteExtent &extent, const Vector3 &a, const Vector3 &b, double x[4], double y[4],
                          const GLint viewport[4]) {
  GLfloat model[16], projection[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, model);
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  static const int CornerS[4] = {0, 1, 1, 0}, CornerT[4] = {0, 0, 1, 1};
  for (int corner = 0; corner < 4; corner++) {
    // The quad's point at texture coordinates (s, t): -(A + B) / 2 + t A + s B.
    double s = CornerS[corner] ? extent.S1 : extent.S0;
    double t = CornerT[corner] ? extent.T1 : extent.T0;
    double p[4] = {(t - 0.5) * a.x + (s - 0.5) * b.x, (t - 0.5) * a.y + (s - 0.5) * b.y,
                   (t - 0.5) * a.z + (s - 0.5) * b.z, 1};
    double eye[4], clip[4];
    for (int r = 0; r < 4; r++)
      eye[r] = model[r] * p[0] + model[4 + r] * p[1] + model[8 + r] * p[2] + model[12 + r] * p[3];
    for (int r = 0; r < 4; r++)
      clip[r] = projection[r] * eye[0] + projection[4 + r] * eye[1] + projection[8 + r] * eye[2] +
                projection[12 + r] * eye[3];
    if (clip[3] <= 1e-6) return false;
    x[corner] = viewport[0] + (clip[0] / clip[3] + 1) * 0.5 * viewport[2];
    y[corner] = viewport[1] + (clip[1] / clip[3] + 1) * 0.5 * viewport[3];
  }
  return true;
}

// The x range of the convex quad (x, y) between the heights low and high.
static bool QuadSpan(const double x[4], const double y[4], double low, double high, double &left, double &right) {
  left = 1e30, right = -1e30;
  for (int i = 0; i < 4; i++) {
    double x0 = x[i], y0 = y[i], x1 = x[(i + 1) % 4], y1 = y[(i + 1) % 4];
    // The edge cut to the slab low <= y <= high.
    double t0 = 0, t1 = 1, dy = y1 - y0;
    if (dy == 0) {
      if (y0 < low || y0 > high) continue;
    } else {
      double ta = (low - y0) / dy, tb = (high - y0) / dy;
      t0 = fmax(t0, fmin(ta, tb));
      t1 = fmin(t1, fmax(ta, tb));
      if (t0 > t1) continue;
    }
    double xa = x0 + (x1 - x0) * t0, xb = x0 + (x1 - x0) * t1;
    left = fmin(left, fmin(xa, xb));
    right = fmax(right, fmax(xa, xb));
  }
  return left <= right;
}

// Pixels of margin around the projected part, for filtering and rounding.
static const double ScissorMargin = 4;

// A sprite through scissor boxes that follow its non-black part on screen, a
// few horizontal bands of rows each with its own span. Every row of the part
// falls into exactly one band, so each pixel is drawn at most once, as
// without the boxes. Only a modulated texture's black adds nothing, so other
// texture modes (no extent) are drawn whole.
static void DrawBlendedSprite(const SpriteExtent *extent, const Vector3 &a, const Vector3 &b) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  double x[4], y[4];
  if (extent && extent->Empty) return;
  if (!extent || !ProjectExtent(*extent, a, b, x, y, viewport)) {
    glDisable(GL_SCISSOR_TEST);
    glPushMatrix();
    DrawSpriteQuad(a, b);
    glPopMatrix();
    return;
  }
  double bottom = fmin(fmin(y[0], y[1]), fmin(y[2], y[3])), top = fmax(fmax(y[0], y[1]), fmax(y[2], y[3]));
  int row0 = (int)fmax(floor(bottom) - ScissorMargin, viewport[1]);
  int row1 = (int)fmin(ceil(top) + ScissorMargin, viewport[1] + viewport[3]);
  if (row0 >= row1) return;
  int bands = (row1 - row0) / 48 + 1;
  if (bands > 8) bands = 8;
  glEnable(GL_SCISSOR_TEST);
  for (int band = 0; band < bands; band++) {
    int from = row0 + (row1 - row0) * band / bands, to = row0 + (row1 - row0) * (band + 1) / bands;
    double left, right;
    if (from >= to || !QuadSpan(x, y, from - ScissorMargin, to + ScissorMargin, left, right)) continue;
    int column0 = (int)fmax(floor(left) - ScissorMargin, viewport[0]);
    int column1 = (int)fmin(ceil(right) + ScissorMargin, viewport[0] + viewport[2]);
    if (column0 >= column1) continue;
    glScissor(column0, from, column1 - column0, to - from);
    glPushMatrix();
    DrawSpriteQuad(a, b);
    glPopMatrix();
  }
}

void DrawSpriteQuad(const Vector3 &a, const Vector3 &b) {
  glTranslatef(-(a.x + b.x) * 0.5f, -(a.y + b.y) * 0.5f, -(a.z + b.z) * 0.5f);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(0, 0, 0);
  glTexCoord2f(0, 1);
  glVertex3f(a.x, a.y, a.z);
  glTexCoord2f(1, 1);
  glVertex3f(a.x + b.x, a.y + b.y, a.z + b.z);
  glTexCoord2f(1, 0);
  glVertex3f(b.x, b.y, b.z);
  glEnd();
}

static void DrawLightFlare(const SceneLight &light, const SceneCamera &camera, const Vector3 &dir,
                           const Vector3 &right, const Vector3 &up, int32_t tick) {
  Vector3 a{up.x * light.FlareSize, up.y * light.FlareSize, up.z * light.FlareSize};
  Vector3 b{right.x * light.FlareSize, right.y * light.FlareSize, right.z * light.FlareSize};
  glPushMatrix();
  glTranslatef(light.Position.x, light.Position.y, light.Position.z);

  // The flare grows with the distance, so it keeps its size on screen.
  glBindTexture(GL_TEXTURE_2D, light.FlareTex);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (float)light.FlareTexEnv);
  const SpriteExtent *extent = light.FlareTexEnv == GL_MODULATE ? ExtentOfBoundTexture(light.FlareTex) : nullptr;
  glPushMatrix();
  Vector3 toCamera{camera.Position.x - light.Position.x, camera.Position.y - light.Position.y,
                   camera.Position.z - light.Position.z};
  float d = length(toCamera);
  glScalef(d * 0.2f, d * 0.2f, d * 0.2f);
  glColor4f(light.Colour[0] + 0.2f, light.Colour[1] + 0.2f, light.Colour[2] + 0.2f, 1.0f);
  DrawBlendedSprite(extent, a, b);
  glPopMatrix();

  glBindTexture(GL_TEXTURE_2D, light.GlowTexture);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (float)light.GlowTexEnv);
  extent = light.GlowTexEnv == GL_MODULATE ? ExtentOfBoundTexture(light.GlowTexture) : nullptr;
  for (int g = 0; g < 6; g++) {
    FlareGlow glow = GlowAt(g, tick, light.Colour);
    glPushMatrix();
    glRotatef(glow.Angle, dir.x, dir.y, dir.z);
    glScalef(glow.Scale, glow.Scale, glow.Scale);
    glColor4fv(glow.Colour);
    DrawBlendedSprite(extent, a, b);
    glPopMatrix();
  }
  glPopMatrix();
}

void DrawFlares(Scene &scene, int32_t tick) {
  if (!scene.Lights || scene.LightCount == 0) return;
  if (!scene.Cameras || scene.CameraCount == 0 || scene.ActiveCamera >= scene.CameraCount) return;
  const SceneCamera &camera = scene.Cameras[scene.ActiveCamera];
  Vector3 dir, right, up;
  BillboardAxes(camera, dir, right, up);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDepthMask(GL_FALSE);
  glDisable(GL_CULL_FACE);
  for (uint32_t i = 0; i < scene.LightCount; i++) DrawLightFlare(scene.Lights[i], camera, dir, right, up, tick);
  glDisable(GL_SCISSOR_TEST);
  glEnable(GL_CULL_FACE);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glEnable(GL_LIGHTING);
}
