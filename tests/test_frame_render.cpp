// The show's frame drawn through the capture path at chosen ticks, with a
// scene of known layout: pictures checked by their pixels.
// frosten-test: x11
#include "core/frame.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "offscreen/frame_capture.h"
#include "scene/scene.h"
#include "tests/capture_window.h"
#include "tests/test_scene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <cstring>

enum { W = 320, H = 240 };

static int ObjectIndex(const char *name) {
  for (uint32_t i = 0; i < ShowScene.ObjectCount; i++)
    if (!strcmp(ShowScene.Objects[i].Name.Text, name)) return (int)i;
  return -1;
}

// Effects that move on their own clocks (snow, flares, banner) are kept off
// the picture where a test compares the scene alone.
static void HideMovingEffects() {
  for (uint32_t i = 0; i < ShowScene.ParticleSystemCount; i++) ShowScene.ParticleSystems[i].Visible = false;
  for (uint32_t i = 0; i < ShowScene.LightCount; i++) ShowScene.Lights[i].FlareSize = 0;
  Banner.Width = 0;
  Banner.Height = 0;
}

class FrameRender : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    char error[300];
    Ready = OpenCaptureWindow(W, H, error, sizeof error);
    ASSERT_TRUE(Ready) << error;
    std::string file = WriteRenderScene();
    SetupSceneFrom(file.c_str());
    remove(file.c_str());
    HideMovingEffects();
  }
  void SetUp() override {
    if (!Ready) GTEST_SKIP() << "no GL window";
  }
  void TearDown() override { ExpectNoFrameGLError(); }
  static PngImage Draw(int32_t tick) {
    DrawTick(tick);
    PngImage image;
    ReadBackBuffer(W, H, image);
    return image;
  }
  static const uint8_t *Pixel(const PngImage &image, int x, int y) { return &image.Pixels[((size_t)y * W + x) * 3]; }
  // Where a world point lands in the picture (top row 0), under the
  // matrices the last frame left.
  static void Project(float x, float y, float z, int &px, int &py) {
    GLdouble model[16], projection[16], wx, wy, wz;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    px = (int)wx;
    py = H - 1 - (int)wy;
  }
  static inline bool Ready;
};

TEST_F(FrameRender, ClockReadingsGiveBackEveryTick) {
  for (int32_t tick = 0; tick < 2000000; tick++) ASSERT_EQ(TickOfMs(MsOfTick(tick)), tick);
}

// Nothing drawn: the clear colour, which is also the fog colour (0.9 grey).
// A mesh wholly left of the view is culled, one reaching into it is drawn,
// and the GL state after every frame is the one the frame promises.
TEST_F(FrameRender, EmptySkyCullingAndStateAfterEachFrame) {
  for (int32_t tick : {0, 1, 2, 300}) {
    PngImage picture = Draw(tick);
    for (int c = 0; c < 3; c++) EXPECT_NEAR(Pixel(picture, 0, 0)[c], 230, 1) << "tick " << tick;
    for (int c = 0; c < 3; c++) EXPECT_NEAR(Pixel(picture, W - 1, 0)[c], 230, 1) << "tick " << tick;
    EXPECT_FALSE(ShowScene.Objects[ObjectIndex("TreeLeft")].Visible);
    EXPECT_TRUE(ShowScene.Objects[ObjectIndex("Ledge")].Visible);
    EXPECT_TRUE(ShowScene.Objects[ObjectIndex("Wall")].Visible);

    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(depthWrites);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
  }
  // The ledge really is on the picture: its left end is beyond the edge and
  // its right end at x = -4 inside, low in the picture.
  int px, py;
  Project(-4.5f, 0, 0.25f, px, py);
  ASSERT_GE(px, 0);
  PngImage picture = Draw(300);
  EXPECT_GT(std::abs((int)Pixel(picture, px, py)[0] - 230), 8);
}

// The branch pane is listed before the wall behind it but drawn after it,
// blended over it: where it covers the wall the picture is the pane's
// colour over the sky shifted by (1 - alpha) x (wall - sky), the wall as
// drawn without the pane.
TEST_F(FrameRender, TransparentMeshesAreDrawnAfterOpaqueOnes) {
  SceneObject &pane = ShowScene.Objects[ObjectIndex("AstPane")];
  ASSERT_TRUE(pane.Transparent);
  // One texel of the branch texture where it is partly transparent.
  GLint w = 0, h = 0;
  glBindTexture(GL_TEXTURE_2D, pane.BaseTexture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  ASSERT_GT(w * h, 0);
  std::vector<uint8_t> texels((size_t)w * h * 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  int chosen = -1;
  for (int i = 0; i < w * h && chosen < 0; i++)
    if (texels[i * 4 + 3] > 96 && texels[i * 4 + 3] < 160) chosen = i;
  ASSERT_GE(chosen, 0);
  float alpha = texels[chosen * 4 + 3] / 255.0f;
  float s = (chosen % w + 0.5f) / w, t = (chosen / w + 0.5f) / h;
  for (uint32_t v = 0; v < pane.VertexCount; v++) {
    pane.TexCoords[v * 2] = s;
    pane.TexCoords[v * 2 + 1] = t;
  }

  PngImage with = Draw(0);
  int ox, oy, sx, sy;
  Project(0, 0, 3.6f, ox, oy);  // pane over the wall
  Project(0, 0, 4.4f, sx, sy);  // pane over the sky
  pane.IsDummy = true;
  PngImage without = Draw(0);
  pane.IsDummy = false;
  const uint8_t *over = Pixel(with, ox, oy), *overSky = Pixel(with, sx, sy), *wall = Pixel(without, ox, oy);
  for (int c = 0; c < 3; c++) {
    EXPECT_GT(std::abs((int)wall[c] - 230), 20) << "the wall is not behind the pane";
    float expected = overSky[c] + (1 - alpha) * ((float)wall[c] - 230);
    EXPECT_NEAR(over[c], expected, 8) << "channel " << c;
  }
}

// The ornament shows its reflection map with sphere-mapped coordinates: with
// a map red on the left half and blue on the right, the sphere's left side
// is red and its right side blue, whatever its own texture coordinates say.
TEST_F(FrameRender, KugelShowsTheSphereMappedReflection) {
  SceneObject &kugel = ShowScene.Objects[ObjectIndex("Kugel")];
  ASSERT_TRUE(kugel.Reflective);
  ASSERT_FALSE(kugel.Textured);
  enum { SIZE = 64 };
  std::vector<uint8_t> map(SIZE * SIZE * 3);
  for (int y = 0; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++) {
      uint8_t *p = &map[(y * SIZE + x) * 3];
      p[0] = x < SIZE / 2 ? 255 : 0;
      p[1] = 0;
      p[2] = x < SIZE / 2 ? 0 : 255;
    }
  GLuint texture;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, SIZE, SIZE, 0, GL_RGB, GL_UNSIGNED_BYTE, map.data());
  uint32_t saved = kugel.ReflectionTexture;
  kugel.ReflectionTexture = texture;
  for (uint32_t v = 0; v < kugel.VertexCount; v++) {
    kugel.TexCoords[v * 2] = 0.75f;
    kugel.TexCoords[v * 2 + 1] = 0.5f;
  }
  PngImage picture = Draw(0);
  kugel.ReflectionTexture = saved;

  int cx, cy, ex, ey;
  Project(RenderKugelCentre[0], RenderKugelCentre[1], RenderKugelCentre[2], cx, cy);
  Project(RenderKugelCentre[0] + RENDER_KUGEL_RADIUS, RenderKugelCentre[1], RenderKugelCentre[2], ex, ey);
  int r = ex - cx;
  ASSERT_GT(r, 8) << "the sphere is not where its parent's turn puts it";
  ASSERT_LT(cx + r, W);
  const uint8_t *left = Pixel(picture, cx - r / 2, cy), *right = Pixel(picture, cx + r / 2, cy);
  EXPECT_EQ(left[0], 255);
  EXPECT_EQ(left[1], 0);
  EXPECT_EQ(left[2], 0);
  EXPECT_EQ(right[0], 0);
  EXPECT_EQ(right[1], 0);
  EXPECT_EQ(right[2], 255);
}

// The camera's path closes at 2200 ticks: the picture after every tick up
// to 2200 is the picture of tick 0, and the one halfway is not.
TEST_F(FrameRender, Tick2200DrawsTheSamePictureAsTick0) {
  PngImage first = Draw(0);
  GLfloat view0[16], view2200[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, view0);
  DrawTicksUpTo(1100);
  PngImage middle;
  ReadBackBuffer(W, H, middle);
  DrawTicksUpTo(2200);
  PngImage last;
  ReadBackBuffer(W, H, last);
  glGetFloatv(GL_MODELVIEW_MATRIX, view2200);
  for (int i = 0; i < 16; i++) EXPECT_EQ(view0[i], view2200[i]) << "element " << i;
  // The scroller runs on its own period (238 x 20 ticks) in the lower half
  // of the picture; the upper half shows the scene alone.
  size_t upper = (size_t)W * (H / 2) * 3;
  EXPECT_TRUE(memcmp(first.Pixels.data(), last.Pixels.data(), upper) == 0);
  EXPECT_FALSE(memcmp(first.Pixels.data(), middle.Pixels.data(), upper) == 0);
}

// A GL error left in a frame is reported with that frame's tick, once; the
// fixture fails every other test on one.
TEST_F(FrameRender, AGLErrorIsReportedWithItsFrame) {
  const int32_t tick = LastDrawnTick() < 0 ? 0 : LastDrawnTick();
  glEnable((GLenum)0x7FFF);
  Draw(tick);
  int32_t errorTick = -1;
  EXPECT_EQ(TakeFrameGLError(errorTick), (uint32_t)GL_INVALID_ENUM);
  EXPECT_EQ(errorTick, tick);
  EXPECT_EQ(TakeFrameGLError(errorTick), 0u);
}
