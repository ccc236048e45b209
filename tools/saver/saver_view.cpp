#include "tools/saver/saver.h"

#include "core/frame.h"
#include "launcher/display.h"

#include <GL/freeglut.h>
#include <cstdio>

SaverViewport FitViewport(int width, int height) {
  FourThreeRect r = FitFourThree(width, height);
  return {r.X, r.Y, r.Width, r.Height};
}

void DrawSaverFrame(int width, int height, bool blackBars) {
  static int shownWidth = -1, shownHeight = -1;
  SaverViewport v = FitViewport(width, height);
  if (v.Width <= 0 || v.Height <= 0) return;
  if (width != shownWidth || height != shownHeight) {
    // The projection's aspect is fixed; this sets it up once per size.
    Reshape(v.Width, v.Height);
    shownWidth = width;
    shownHeight = height;
  }
  glDisable(GL_SCISSOR_TEST);
  if (v.Width != width || v.Height != height) {
    // The bars, every frame: the back buffer holds nothing after a swap.
    // Black for a screen saver; the scene's own clear colour stays inside.
    GLfloat sceneClear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, sceneClear);
    if (blackBars) glClearColor(0, 0, 0, 1);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(sceneClear[0], sceneClear[1], sceneClear[2], sceneClear[3]);
  }
  glViewport(v.X, v.Y, v.Width, v.Height);
  // The frame's own clear then stays inside the picture.
  glScissor(v.X, v.Y, v.Width, v.Height);
  glEnable(GL_SCISSOR_TEST);
  DrawFrame();
}

// Bitmap text in window pixels, white on a black shadow, with every state
// it touches put back.
void DrawFrameRate(int width, int height, double framesPerSecond) {
  enum { MARGIN = 8 };
  char text[32];
  snprintf(text, sizeof text, "FPS: %.1f", framesPerSecond);
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_FOG);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  const int shadow[2][3] = {{1, -1, 0}, {0, 0, 1}};  // x, y offset and white
  for (const int *pass : shadow) {
    glColor3f((float)pass[2], (float)pass[2], (float)pass[2]);
    glRasterPos2i(MARGIN + pass[0], MARGIN + pass[1]);
    glutBitmapString(GLUT_BITMAP_HELVETICA_18, (const unsigned char *)text);
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
