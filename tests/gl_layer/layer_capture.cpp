// The show's frames drawn through the browser's GL layer on the native GL:
// layer_capture WIDTHxHEIGHT DIR TICK... writes DIR/tick-NNNNNN.png for each
// tick, drawn as frosten-capture draws them (every tick in between stepped).
#include "effects/setup.h"
#include "offscreen/frame_capture.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  int width = 0, height = 0;
  if (argc < 4 || sscanf(argv[1], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
    fprintf(stderr, "usage: layer_capture WIDTHxHEIGHT DIR TICK...\n");
    return 2;
  }
  char error[256];
  if (!OpenCaptureWindow(width, height, error, sizeof error)) {
    fprintf(stderr, "layer_capture: %s\n", error);
    return 1;
  }
  SetupScene();
  for (int i = 3; i < argc; i++) {
    int tick = atoi(argv[i]);
    DrawTickAfterSteps(tick);
    PngImage image;
    ReadBackBuffer(width, height, image);
    char path[4096];
    snprintf(path, sizeof path, "%s/tick-%06d.png", argv[2], tick);
    if (!WritePng(path, image, error, sizeof error)) {
      fprintf(stderr, "layer_capture: %s\n", error);
      return 1;
    }
  }
  return 0;
}
