// The flares, the snow and the overlays against a real GL context: the state
// each leaves behind, and what lands on screen.
// frosten-test: x11
#include "core/overlay.h"
#include "effects/flares.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "effects/show_random.h"
#include "scene/scene.h"
#include "tests/gl_window.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

static const int W = 320, H = 240;

// A 4 x 4 texture of one colour.
static GLuint FlatTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  uint8_t pixels[16 * 4];
  for (int i = 0; i < 16; i++) pixels[4 * i] = r, pixels[4 * i + 1] = g, pixels[4 * i + 2] = b, pixels[4 * i + 3] = a;
  GLuint name;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  return name;
}

// The frame's state when the effects are drawn: depth test and writes on,
// culling, lighting and texturing on, blending off; the camera at the origin
// looking along +y, world z up, under the show's projection.
static void FrameState() {
  glViewport(0, 0, W, H);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45, 1.3333, 0.1, 50);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0, 0, 0, 0, 1, 0, 0, 0, 1);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glEnable(GL_CULL_FACE);
  glEnable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_FOG);
  glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

struct GLSnapshot {
  bool Enables[8];
  GLboolean DepthMask;
  GLint MatrixMode, ModelviewDepth, ProjectionDepth;
  GLfloat Colour[4], Modelview[16], Projection[16];
};

static GLSnapshot Snapshot() {
  static const GLenum caps[8] = {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_TEXTURE_2D,
                                 GL_BLEND,      GL_FOG,       GL_LIGHT0,   GL_SCISSOR_TEST};
  GLSnapshot s;
  for (int i = 0; i < 8; i++) s.Enables[i] = glIsEnabled(caps[i]);
  glGetBooleanv(GL_DEPTH_WRITEMASK, &s.DepthMask);
  glGetIntegerv(GL_MATRIX_MODE, &s.MatrixMode);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.ModelviewDepth);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.ProjectionDepth);
  glGetFloatv(GL_CURRENT_COLOR, s.Colour);
  glGetFloatv(GL_MODELVIEW_MATRIX, s.Modelview);
  glGetFloatv(GL_PROJECTION_MATRIX, s.Projection);
  return s;
}

static void ExpectSameState(const GLSnapshot &a, const GLSnapshot &b, bool colourAlphaBecomesOne,
                            const char *what) {
  for (int i = 0; i < 8; i++) EXPECT_EQ(a.Enables[i], b.Enables[i]) << what << " enable " << i;
  EXPECT_EQ(a.DepthMask, b.DepthMask) << what;
  EXPECT_EQ(a.MatrixMode, b.MatrixMode) << what;
  EXPECT_EQ(a.ModelviewDepth, b.ModelviewDepth) << what;
  EXPECT_EQ(a.ProjectionDepth, b.ProjectionDepth) << what;
  for (int i = 0; i < 3; i++) EXPECT_EQ(a.Colour[i], b.Colour[i]) << what;
  EXPECT_EQ(b.Colour[3], colourAlphaBecomesOne ? 1.0f : a.Colour[3]) << what;
  EXPECT_EQ(memcmp(a.Modelview, b.Modelview, sizeof a.Modelview), 0) << what;
  EXPECT_EQ(memcmp(a.Projection, b.Projection, sizeof a.Projection), 0) << what;
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << what;
}

// One camera at the origin looking along +y and one white light on the line
// of sight, with a fountain.
struct EffectScene {
  Scene scene{};
  SceneCamera camera{};
  SceneLight light{};
  ParticleSystem snow{};

  EffectScene(GLuint flare, GLuint glow, GLuint flake) {
    camera.Target = Vector3{0, 1, 0};
    light.Position = Vector3{0, 10, 0};
    light.Colour[0] = light.Colour[1] = light.Colour[2] = 1;
    light.FlareSize = 1.5f;
    light.FlareTex = flare;
    light.GlowTexture = glow;
    light.FlareTexEnv = light.GlowTexEnv = GL_MODULATE;
    SeedShowRandom();
    CreateParticleSystem(snow, 1, 1, 1, light.Position, Vector3{0, 0, 0.2f}, Vector3{0.0005f, 0.0005f, -0.002f},
                         1000, 350, 150, 0.5f, 0.5f, 0.3f);
    snow.Texture = flake;
    snow.TexEnv = GL_MODULATE;
    scene.Cameras = &camera;
    scene.CameraCount = 1;
    scene.Lights = &light;
    scene.LightCount = 1;
    scene.ParticleSystems = &snow;
    scene.ParticleSystemCount = 1;
  }
  ~EffectScene() { FreeParticleSystem(snow); }
};

// The picture as grey levels (the red channel), top row first.
static std::vector<uint8_t> ReadRed() {
  std::vector<uint8_t> rgb((size_t)W * H * 3), red((size_t)W * H);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++) red[(size_t)(H - 1 - y) * W + x] = rgb[((size_t)y * W + x) * 3];
  return red;
}

class EffectsGL : public testing::Test {
 protected:
  void SetUp() override {
    if (!OpenGLTestWindow(W, H)) GTEST_SKIP() << "no X display";
  }
  void TearDown() override { EXPECT_EQ(PendingGLError(), (GLenum)GL_NO_ERROR); }
};

TEST_F(EffectsGL, EachEffectLeavesTheStateAsFound) {
  GLuint white = FlatTexture(255, 255, 255, 255);
  EffectScene e(white, white, white);
  FrameState();
  glEnable(GL_LIGHT0);
  GLSnapshot before = Snapshot();
  UpdateLights(e.scene, 0, 1);
  DrawFlares(e.scene, 37);
  // The flares set their own colours; the rest is as it was.
  GLSnapshot after = Snapshot();
  std::memcpy(after.Colour, before.Colour, sizeof after.Colour);
  ExpectSameState(before, after, false, "flares");
  DrawParticleSystems(e.scene);
  after = Snapshot();
  std::memcpy(after.Colour, before.Colour, sizeof after.Colour);
  ExpectSameState(before, after, false, "snow");

  // The overlays restore enables, matrices, mode and colour, whatever they were.
  for (int variant = 0; variant < 2; variant++) {
    FrameState();
    if (variant) {
      glDisable(GL_LIGHTING);
      glDisable(GL_TEXTURE_2D);
      glMatrixMode(GL_TEXTURE);
    }
    before = Snapshot();
    DrawText2D("Frost", 0.1f, 0.1f, 0.001f, 0.001f, 1, 0, 0);
    ExpectSameState(before, Snapshot(), true, "text");

    glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
    float colours[35 * 4], texCoords[35 * 2];
    VectorKey key{};
    BannerRecord banner{0.7592f, 0.5174f, VectorTrack{1, 1, &key}, white, GL_MODULATE, colours, texCoords, 7, 5};
    AnimateBannerRecord(banner, 99);
    before = Snapshot();
    DrawBanner(banner, 99);
    ExpectSameState(before, Snapshot(), false, "banner");

    // The scroller leaves additive blending and a line width of 3 behind.
    DrawScroller(400);
    GLint source, dest;
    GLfloat width;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &dest);
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(dest, GL_ONE);
    EXPECT_EQ(width, 3.0f);
    glDisable(GL_BLEND);
    GLSnapshot scrolled = Snapshot();
    before.Colour[3] = 1;  // the glyphs' colour calls reset the alpha
    std::memcpy(before.Colour, scrolled.Colour, 3 * sizeof(float));
    ExpectSameState(before, scrolled, true, "scroller");
    EXPECT_EQ(scrolled.Colour[0], 1.0f);
  }
  glDeleteTextures(1, &white);
}

// Width in pixels of the lit run through the picture's centre row.
static int LitWidth(const std::vector<uint8_t> &red) {
  int width = 0;
  for (int x = 0; x < W; x++) width += red[(size_t)(H / 2) * W + x] > 128;
  return width;
}

TEST_F(EffectsGL, FlareKeepsItsSizeOnScreen) {
  GLuint white = FlatTexture(255, 255, 255, 255);
  GLuint clear = FlatTexture(255, 255, 255, 0);
  EffectScene e(white, clear, white);
  FrameState();
  DrawFlares(e.scene, 0);
  int nearWidth = LitWidth(ReadRed());
  // FlareSize 1.5 x 0.2 x distance = 3 units at 10: 3 / 8.28 of the height.
  EXPECT_NEAR(nearWidth, 3.0 / (2 * 10 * tan(M_PI / 8)) * H, 2);

  e.light.Position = Vector3{0, 20, 0};
  FrameState();
  DrawFlares(e.scene, 0);
  EXPECT_NEAR(LitWidth(ReadRed()), nearWidth, 1);

  glDeleteTextures(1, &white);
  glDeleteTextures(1, &clear);
}
