// The capture tool's window, opened once per test program, for tests that
// draw under the show's own projection. Tests skip when it cannot be opened.
#pragma once

#include "offscreen/frame_capture.h"

static bool OpenWindow() {
  static int state = 0;  // 0 not tried, 1 open, 2 failed
  if (state == 0) {
    char error[300];
    state = OpenCaptureWindow(64, 48, error, sizeof error) ? 1 : 2;
  }
  return state == 1;
}

#define NEED_WINDOW() \
  if (!OpenWindow()) GTEST_SKIP() << "no GL window"
