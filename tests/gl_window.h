// A hidden GLUT window whose GL context the GL tests draw and upload in;
// opened once per test program, at the size of the first call. Tests skip
// when there is no X display.
#pragma once

#include <GL/freeglut.h>
#include <cstdlib>

static inline bool OpenGLTestWindow(int width = 64, int height = 48) {
  static int state = 0;  // 0 not tried, 1 open, 2 no display
  if (state == 0) {
    state = 2;
    if (getenv("DISPLAY") && getenv("DISPLAY")[0]) {
      int argc = 1;
      char name[] = "gl_test";
      char *argv[] = {name, nullptr};
      glutInit(&argc, argv);
      glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
      glutInitWindowSize(width, height);
      glutCreateWindow("gl test");
      glutHideWindow();
      state = 1;
    }
  }
  return state == 1;
}

// The GL error a test's drawing left behind (GL_NO_ERROR without a window):
// the GL tests' fixtures fail a test on one in their TearDown.
static inline GLenum PendingGLError() { return OpenGLTestWindow() ? glGetError() : (GLenum)GL_NO_ERROR; }

#define NEED_GL() \
  if (!OpenGLTestWindow()) GTEST_SKIP() << "no X display"
