#include "tools/saver/saver.h"

#include "core/frame.h"
#include "launcher/display.h"

#include <GL/gl.h>

SaverViewport FitViewport(int width, int height) {
  SaverViewport v = {0, 0, width, height};
  // 4:3 exactly in whole pixels: the narrower side sets the size.
  if ((int64_t)width * 3 > (int64_t)height * 4) {
    v.Width = (int)(((int64_t)height * 4 + 1) / 3);
    v.X = (width - v.Width) / 2;
  } else {
    v.Height = (int)(((int64_t)width * 3 + 2) / 4);
    v.Y = (height - v.Height) / 2;
  }
  return v;
}

void DrawSaverFrame(int width, int height) {
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
    // The bars, in the clear colour the scene set up, every frame: the back
    // buffer holds nothing after a swap.
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glViewport(v.X, v.Y, v.Width, v.Height);
  // The frame's own clear then stays inside the picture.
  glScissor(v.X, v.Y, v.Width, v.Height);
  glEnable(GL_SCISSOR_TEST);
  DrawFrame();
}
