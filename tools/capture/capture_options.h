// What frosten-capture was asked for.
#pragma once

struct CaptureOptions {
  int Width, Height;
  int From, To;         // ticks: the span starts at From and ends before To
  int Step;             // pictures: every Step-th tick
  int Fps;              // video: frames a second
  const char *PngDir;   // pictures go here (null: none)
  const char *Video;    // the video file (null: none)
  bool Stretch;         // the 4:3 picture stretched over any size, no bars
};

// The tick that frame `frame` of a video shows: the show's tick at the
// frame's time, counted from From.
int FrameTick(const CaptureOptions &options, long frame);
// How many frames a video of the options has: those whose tick comes
// before To.
long VideoFrames(const CaptureOptions &options);
// DIR/tick-NNNNNN.png, the picture of a tick.
void TickPicturePath(const char *dir, int tick, char *path, int pathSize);
