// The capture tool's window, opened once per test program, for tests that
// draw under the show's own projection. Tests skip when it cannot be opened.
#pragma once

#include "effects/setup.h"
#include "offscreen/frame_capture.h"

#include <gtest/gtest.h>
#include <unistd.h>

static inline bool OpenWindow() {
  static int state = 0;  // 0 not tried, 1 open, 2 failed
  if (state == 0) {
    char error[300];
    state = OpenCaptureWindow(64, 48, error, sizeof error) ? 1 : 2;
  }
  return state == 1;
}

// The window at the given size with the show's own scene set up in it, run
// in the source folder where data/ is: for suites that draw the real show.
static inline bool OpenShowScene(int width, int height) {
  char error[300];
  if (chdir(FROSTEN_SOURCE_DIR) != 0) {
    ADD_FAILURE() << "cannot enter " << FROSTEN_SOURCE_DIR;
    return false;
  }
  if (!OpenCaptureWindow(width, height, error, sizeof error)) {
    ADD_FAILURE() << error;
    return false;
  }
  SetupScene();
  return true;
}

// Fails the test on a GL error that a frame drawn here left behind: the
// rendered-picture tests' fixtures call it in their TearDown.
static inline void ExpectNoFrameGLError() {
  int32_t tick;
  uint32_t error = TakeFrameGLError(tick);
  EXPECT_EQ(error, 0u) << "GL error in the frame of tick " << tick << ": " << GLErrorText(error);
}

#define NEED_WINDOW() \
  if (!OpenWindow()) GTEST_SKIP() << "no GL window"
