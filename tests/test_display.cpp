// The display layer against a real GL context on the test X server.
// frosten-test: x11
// frosten-test-links: show
#include "launcher/display.h"
#include "launcher/glcaps.h"
#include "tests/gl_window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#define NEED_WINDOW() \
  if (!OpenGLTestWindow(320, 240)) GTEST_SKIP() << "no X display"

TEST(GameModeString, PlainDecimalAndAlways60Hz) {
  char mode[48];
  GameModeString(mode, sizeof mode, 640, 480, 32);
  EXPECT_STREQ(mode, "640x480:32@60");
  GameModeString(mode, sizeof mode, 800, 600, 16);
  EXPECT_STREQ(mode, "800x600:16@60");
  GameModeString(mode, sizeof mode, 1920, 1080, 24);
  EXPECT_STREQ(mode, "1920x1080:24@60");
}

// gluPerspective(45, 1.3333, 0.1, 50) worked out in double precision.
static void ExpectShowProjection() {
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  double f = 1.0 / tan(45.0 * M_PI / 360.0);
  double expected[16] = {f / 1.3333, 0, 0, 0, 0, f, 0, 0, 0, 0, (50.0 + 0.1) / (0.1 - 50.0), -1,
                         0, 0, 2.0 * 50.0 * 0.1 / (0.1 - 50.0), 0};
  for (int i = 0; i < 16; i++) EXPECT_NEAR(m[i], expected[i], 1e-5) << "element " << i;
}

static void ExpectViewport(int w, int h) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], w);
  EXPECT_EQ(viewport[3], h);
}

TEST(Reshape, AspectStaysFixedWhateverTheWindowShape) {
  NEED_WINDOW();
  glMatrixMode(GL_MODELVIEW);
  Reshape(640, 480);
  ExpectShowProjection();
  ExpectViewport(640, 480);
  Reshape(1280, 720);
  ExpectShowProjection();
  ExpectViewport(1280, 720);
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST(Reshape, ZeroHeightIsSafeAndMatrixModeIsKept) {
  NEED_WINDOW();
  glMatrixMode(GL_TEXTURE);
  Reshape(300, 0);
  ExpectViewport(300, 1);
  glMatrixMode(GL_PROJECTION);
  ExpectShowProjection();
  Reshape(100, 100);
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
  glMatrixMode(GL_MODELVIEW);
}

TEST(Clock, StartsAtOffsetAndFollowsRealTime) {
  NEED_WINDOW();
  ResetClock(0);
  EXPECT_LE(ClockMs(), 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  int32_t later = ClockMs();
  EXPECT_GE(later, 245);
  EXPECT_LT(later, 1000);
  // Drawing frames does not move the clock; only time does.
  ResetClock(0);
  for (int i = 0; i < 20; i++) glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  EXPECT_LT(ClockMs(), 200);
  ResetClock(5000);
  EXPECT_GE(ClockMs(), 5000);
  EXPECT_LE(ClockMs(), 5002);
}

TEST(GLCapabilities, VendorRuleIsAnExactWholeStringMatch) {
  EXPECT_FALSE(IsHardwareVendor("Microsoft Corporation"));
  EXPECT_TRUE(IsHardwareVendor("Microsoft Corporation (R)"));
  EXPECT_TRUE(IsHardwareVendor("microsoft corporation"));
  EXPECT_TRUE(IsHardwareVendor("Mesa"));
}

TEST(GLCapabilities, DetectedFromTheDriverAndTheUsersChoice) {
  NEED_WINDOW();
  DisplaySettings.TexCompress = false;
  DetectGLCapabilities();
  EXPECT_TRUE(HardwareRenderer);  // Mesa is not the generic software renderer
  EXPECT_EQ(MipmapFilter, (GLenum)GL_LINEAR_MIPMAP_NEAREST);
  EXPECT_EQ(PlainFilter, (GLenum)GL_LINEAR);
  EXPECT_EQ(HasCompiledArrays, glLockArraysEXT != nullptr && glUnlockArraysEXT != nullptr);
  EXPECT_FALSE(UseTexCompression);
  EXPECT_GE(MaxTextureSize, 1024);
  DisplaySettings.TexCompress = true;
  DetectGLCapabilities();
  EXPECT_EQ(UseTexCompression, glutExtensionSupported("GL_ARB_texture_compression") != 0);
  DisplaySettings.TexCompress = false;
}

TEST(InitGLState, SetsTheFixedState) {
  NEED_WINDOW();
  DetectGLCapabilities();
  InitGLState();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_DITHER));
  GLint value;
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LEQUAL);
  glGetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, GL_CCW);
  glGetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, GL_BACK);
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_SMOOTH);
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}
