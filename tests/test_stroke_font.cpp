// frosten-test: x11
// The browser's stroke font, drawn by the GL layer as quads of the line
// width, against GLUT's Roman stroke font drawn as GL lines of that width:
// the same words cover about as many pixels in about the same place, so the
// scroller keeps its letters' weight and size in the browser.
#define GL_GLEXT_PROTOTYPES  // glUseProgram: back to fixed-function GL
#include "gl_window.h"
#include "platform/web/gl_layer.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

enum { W = 640, H = 100 };

struct Ink {
  int Count = 0;
  int Left = W, Right = -1, Bottom = H, Top = -1;
};

static Ink ReadInk() {
  std::vector<unsigned char> rgb((size_t)W * H * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  Ink ink;
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++)
      if (rgb[((size_t)y * W + x) * 3] > 127) {
        ink.Count++;
        ink.Left = std::min(ink.Left, x), ink.Right = std::max(ink.Right, x);
        ink.Bottom = std::min(ink.Bottom, y), ink.Top = std::max(ink.Top, y);
      }
  return ink;
}

// Capitals 100 units high at 0.35 scale: 35 pixels, lines 3 pixels wide.
static Ink DrawGlut(const char *text) {
  glUseProgram(0);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(0, 0, W, H);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, W, 0, H);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(10, 25, 0);
  glScalef(0.35f, 0.35f, 1);
  glColor3f(1, 1, 1);
  glLineWidth(3);
  for (const char *c = text; *c; c++) glutStrokeCharacter(GLUT_STROKE_ROMAN, *c);
  return ReadInk();
}

static Ink DrawLayer(const char *text) {
  sglClearColor(0, 0, 0, 1);
  sglClear(GL_COLOR_BUFFER_BIT);
  sglViewport(0, 0, W, H);
  sglMatrixMode(GL_PROJECTION);
  sglLoadIdentity();
  sgluOrtho2D(0, W, 0, H);
  sglMatrixMode(GL_MODELVIEW);
  sglLoadIdentity();
  sglTranslatef(10, 25, 0);
  sglScalef(0.35f, 0.35f, 1);
  sglColor3f(1, 1, 1);
  sglLineWidth(3);
  for (const char *c = text; *c; c++) sglStrokeCharacter(nullptr, *c);
  return ReadInk();
}

TEST(StrokeFont, WordsCoverAboutWhatGlutsRomanLettersCover) {
  if (!OpenGLTestWindow(W, H)) GTEST_SKIP() << "no X display";
  for (const char *text : {"MERRY XMAS FOLKS!", "GREETZ: pim/snowmoth", "tuva/glogg . wix/ivy =)"}) {
    SCOPED_TRACE(text);
    Ink glut = DrawGlut(text);
    Ink ours = DrawLayer(text);
    ASSERT_GT(glut.Count, 500);
    EXPECT_NEAR(ours.Count, glut.Count, glut.Count * 0.3);
    EXPECT_NEAR(ours.Bottom, glut.Bottom, 6);
    EXPECT_NEAR(ours.Top, glut.Top, 8);
    EXPECT_NEAR(ours.Left, glut.Left, 6);
    EXPECT_NEAR(ours.Right, glut.Right, (glut.Right - glut.Left) * 0.15);
  }
}
