#include "core/frame.h"

#include "launcher/display.h"

#include <GL/freeglut.h>
#include <cmath>

int32_t CurrentTick;
int32_t PreviousTick;

void DisplayFrame() {
  PreviousTick = CurrentTick;
  // nearbyint rounds halves to even in the default rounding mode.
  CurrentTick = (int32_t)std::nearbyint((double)ClockMs() * 60.0 / 1000.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}
