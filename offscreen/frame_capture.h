// Drawing the show at chosen ticks instead of the wall clock, and reading
// the finished pictures back: the core of frosten-capture, shared with the
// rendered-picture tests and the frame benchmarks.
#pragma once

#include "tools/common/png_file.h"

#include <cstdint>

// The clock reading (milliseconds) at which the frame driver sees the tick.
int32_t MsOfTick(int32_t tick);

// Opens a double-buffered GL window of width x height on the X display, or
// on a private Xvfb when no display can be opened, detects the GL
// capabilities, sets the show's fixed GL state and projection, and makes the
// frame driver's clock follow the ticks given below. Message boxes go to
// stderr from here on. False, with a one-line reason, when no GL window can
// be had.
bool OpenCaptureWindow(int width, int height, char *error, int errorSize);

// Draws the frame of a tick (no swap). The particles advance by the ticks
// since the previous frame, so draw every tick in turn: see DrawTicksUpTo.
void DrawTick(int32_t tick);
// Draws every tick after the last one drawn up to and including tick
// (starting at 0), so that everything that integrates over ticks has
// stepped through each of them. Returns the last tick drawn.
int32_t DrawTicksUpTo(int32_t tick);
// Steps a tick without drawing it (the lights and the particles move as if
// it had been drawn).
void StepTick(int32_t tick);
// Steps through every tick after the last one drawn or stepped (starting at
// 0) and draws the tick itself: the same picture as DrawTicksUpTo, without
// the cost of drawing the ticks in between. A long way there asks `stop`
// (when given) every 1024 steps, and gives up without drawing, returning
// false, once it answers true.
bool DrawTickAfterSteps(int32_t tick, bool (*stop)() = nullptr);
// The tick last drawn or stepped, -1 before the first.
int32_t LastDrawnTick();

// The first GL error that a frame drawn or stepped here left behind (0 for
// none), with that frame's tick in tick; taking it clears it. The capture
// tool stops on one, the rendered-picture tests fail on one.
uint32_t TakeFrameGLError(int32_t &tick);
// The GL's name of an error, for messages.
const char *GLErrorText(uint32_t error);

// The back buffer as RGB, top row first.
void ReadBackBuffer(int width, int height, PngImage &image);
