// frosten-saver: the show's scene drawn the way screen-saver programs draw,
// into a window it is given or one of its own, at a chosen frame rate.
#pragma once

#include <cstdint>

enum SaverTarget { SAVER_OWN_WINDOW, SAVER_WINDOW_ID, SAVER_ROOT };

struct SaverOptions {
  SaverTarget Target = SAVER_OWN_WINDOW;
  unsigned long WindowId = 0;
  int64_t FramePeriodNs = 1000000000 / 30;  // 0: back to back
  bool Music = false;
  bool Stats = false;
  bool ShowFrameRate = false;  // --fps without a number: the rate in a corner
};

extern const char SaverUsage[];

// The command line, with the window named by XSCREENSAVER_WINDOW (the
// value of environmentWindow, may be null) taking the place of --root and
// of no choice at all. Takes the options screen-saver daemons pass to every
// program (--visual, --install, --mono ...) and ignores those that do not
// apply. Ends with the usage on a bad argument.
SaverOptions ParseSaverOptions(int argc, char **argv, const char *environmentWindow);

// The largest 4:3 rectangle centred in a width x height window.
struct SaverViewport {
  int X, Y, Width, Height;
};
SaverViewport FitViewport(int width, int height);
// One frame of the show in the 4:3 viewport of the window, the rest of the
// window cleared to black (blackBars) or the show's background colour; no
// swap.
void DrawSaverFrame(int width, int height, bool blackBars);
// "FPS: 29.9" in the lower left corner of the window, over the frame.
void DrawFrameRate(int width, int height, double framesPerSecond);

// The show's module, playing in the background; false (and one line on
// stderr) when there is no sound, which leaves the saver silent.
bool StartSaverMusic();
void StopSaverMusic();
