// The show's own frames, drawn through the capture path with its data: the
// flares, the snow, the banner and the scroller each put their pixels where
// they belong. Each effect is taken out of a redraw of the same tick and the
// two pictures compared.
// frosten-test: x11
#define GL_GLEXT_PROTOTYPES 1
#include "core/overlay.h"
#include "effects/flares.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "offscreen/frame_capture.h"
#include "scene/scene.h"
#include "tests/capture_window.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <unistd.h>

static const int W = 640, H = 480;

struct Difference {
  int Count = 0;
  int Left = W, Right = -1, Top = H, Bottom = -1;
};

static Difference Compare(const PngImage &a, const PngImage &b) {
  Difference d;
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++) {
      size_t i = ((size_t)y * W + x) * 3;
      if (a.Pixels[i] == b.Pixels[i] && a.Pixels[i + 1] == b.Pixels[i + 1] && a.Pixels[i + 2] == b.Pixels[i + 2])
        continue;
      d.Count++;
      d.Left = std::min(d.Left, x), d.Right = std::max(d.Right, x);
      d.Top = std::min(d.Top, y), d.Bottom = std::max(d.Bottom, y);
    }
  return d;
}

class ShowEffects : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Ready = OpenShowScene(W, H);
  }
  void SetUp() override {
    if (!Ready) GTEST_SKIP() << "no GL window";
  }
  void TearDown() override { ExpectNoFrameGLError(); }
  // The tick drawn again: the snow does not step within a tick.
  static PngImage Redraw(int32_t tick) {
    DrawTick(tick);
    PngImage image;
    ReadBackBuffer(W, H, image);
    return image;
  }
  static inline bool Ready;
};

TEST_F(ShowEffects, EachEffectDrawsWhereItBelongs) {
  const int32_t tick = 700;
  DrawTicksUpTo(tick);
  PngImage full = Redraw(tick);
  EXPECT_TRUE(full.Pixels == Redraw(tick).Pixels);

  // Flares: around where each light lands in the picture.
  ASSERT_GT(ShowScene.LightCount, 0u);
  std::vector<float> sizes;
  for (uint32_t i = 0; i < ShowScene.LightCount; i++) {
    sizes.push_back(ShowScene.Lights[i].FlareSize);
    ShowScene.Lights[i].FlareSize = 0;
  }
  PngImage noFlares = Redraw(tick);
  GLdouble model[16], projection[16], wx, wy, wz;
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  for (uint32_t i = 0; i < ShowScene.LightCount; i++) ShowScene.Lights[i].FlareSize = sizes[i];
  Difference flares = Compare(full, noFlares);
  EXPECT_GT(flares.Count, 5000);
  int onScreen = 0;
  for (uint32_t i = 0; i < ShowScene.LightCount; i++) {
    const Vector3 &p = ShowScene.Lights[i].Position;
    gluProject(p.x, p.y, p.z, model, projection, viewport, &wx, &wy, &wz);
    int x = (int)wx, y = H - 1 - (int)wy;
    if (wz <= 0 || wz >= 1 || x < 0 || x >= W || y < 0 || y >= H) continue;
    onScreen++;
    EXPECT_TRUE(x >= flares.Left && x <= flares.Right && y >= flares.Top && y <= flares.Bottom) << i;
    // The flare's centre is lit at least as brightly as without it.
    const uint8_t *with = &full.Pixels[((size_t)y * W + x) * 3], *without = &noFlares.Pixels[((size_t)y * W + x) * 3];
    for (int c = 0; c < 3; c++) EXPECT_GE(with[c], without[c]);
  }
  EXPECT_GT(onScreen, 0);

  // Snow: a thousand flakes per light, additive, so nothing gets darker.
  for (uint32_t i = 0; i < ShowScene.ParticleSystemCount; i++) ShowScene.ParticleSystems[i].Visible = false;
  PngImage noSnow = Redraw(tick);
  for (uint32_t i = 0; i < ShowScene.ParticleSystemCount; i++) ShowScene.ParticleSystems[i].Visible = true;
  Difference snow = Compare(full, noSnow);
  EXPECT_GT(snow.Count, 2000);
  int darker = 0;
  for (size_t i = 0; i < full.Pixels.size(); i++) darker += full.Pixels[i] < noSnow.Pixels[i];
  EXPECT_EQ(darker, 0);

  // Banner: centred where its animation puts it in the 1.3333 x 1 space.
  float width = Banner.Width;
  Banner.Width = 0;
  PngImage noBanner = Redraw(tick);
  Banner.Width = width;
  Difference banner = Compare(full, noBanner);
  const VectorKey &key = Banner.PositionTrack.Keys[0];
  int cx = (int)(key.Value.x / 1.3333f * W), cy = (int)((1 - key.Value.y) * H);
  EXPECT_GT(banner.Count, W * H / 10);
  EXPECT_NEAR((banner.Left + banner.Right) / 2, cx, 12);
  EXPECT_NEAR((banner.Top + banner.Bottom) / 2, cy, 12);

  // Scroller: the only lines of the frame; a stipple of nothing hides them.
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(1, 0);
  PngImage noText = Redraw(tick);
  glDisable(GL_LINE_STIPPLE);
  Difference text = Compare(full, noText);
  EXPECT_GT(text.Count, 300);
  // Its glyphs bob between 0.1 and 0.4 of the height with at most 0.08 of
  // letter above: all in the lower half and a bit.
  EXPECT_GT(text.Top, H * 4 / 10);
  int letters = 0;
  for (int k = 1; k <= 16; k++) letters += ScrollerGlyphAt(tick, k).Character != ' ';
  EXPECT_GT(letters, 5);
}

// The lights' flares and glows over the camera loop, on a cleared depth
// buffer (all they cover), light by light: on average a few screens of
// fragments a frame, and no light's glows ever near to filling the picture,
// as they would if a light passed close to the camera.
TEST_F(ShowEffects, FlaresStayAFewScreensOverTheLoop) {
  GLuint query;
  glGenQueries(1, &query);
  const double screen = (double)W * H;
  double total = 0, mostOfOne = 0;
  int frames = 0;
  for (int32_t tick = 0; tick < CAMERA_LOOP_TICKS; tick += 50, frames++) {
    DrawTick(tick);
    for (uint32_t i = 0; i < ShowScene.LightCount; i++) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      Scene one = ShowScene;
      one.Lights = &ShowScene.Lights[i];
      one.LightCount = 1;
      glBeginQuery(GL_SAMPLES_PASSED, query);
      DrawFlares(one, tick);
      glEndQuery(GL_SAMPLES_PASSED);
      GLuint passed = 0;
      glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
      total += passed;
      mostOfOne = std::max(mostOfOne, passed / screen);
    }
  }
  glDeleteQueries(1, &query);
  EXPECT_GT(total, 0);
  EXPECT_LT(total / frames / screen, 3.5);
  EXPECT_LT(mostOfOne, 2.0);
}
