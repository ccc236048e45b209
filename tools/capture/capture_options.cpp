#include "tools/capture/capture_options.h"

#include <cmath>
#include <cstdio>

int FrameTick(const CaptureOptions &options, long frame) {
  // Halves to even, as the show turns its clock into ticks.
  return options.From + (int)std::nearbyint((double)frame * 60.0 / options.Fps);
}

long VideoFrames(const CaptureOptions &options) {
  long frames = 0;
  while (FrameTick(options, frames) < options.To) frames++;
  return frames;
}

void TickPicturePath(const char *dir, int tick, char *path, int pathSize) {
  snprintf(path, pathSize, "%s/tick-%06d.png", dir, tick);
}
