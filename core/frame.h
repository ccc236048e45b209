// The per-frame driver: the GLUT display callback.
#pragma once

#include <cstdint>

// The tick of the frame and of the one before, as the timeline sees them:
// the show's tick count modulo SHOW_TICK_WRAP.
extern int32_t CurrentTick;
extern int32_t PreviousTick;

// The timeline starts again at tick 0 after this many ticks (414 days): the
// largest multiple of the camera loop and of the depth pulse (400 ticks)
// that a 32-bit tick holds, so that the camera flies on without a jump; the
// banner, flares and scroller jump once. The snow steps on across it.
enum : int32_t { SHOW_TICK_WRAP = 2147481600 };
static_assert(SHOW_TICK_WRAP % 4400 == 0 && SHOW_TICK_WRAP > 2147483647 - 4400);
// A frame after a pause steps the snow by at most this many ticks (10 s):
// every flake lives less than that, so all of them have been thrown anew and
// the picture looks as if every tick had been stepped. The ticks beyond are
// skipped for the snow alone; shorter pauses step every tick.
enum : int32_t { MAX_CATCH_UP_TICKS = 600 };

// One whole frame: DrawFrame, then the buffer swap.
void DisplayFrame();
// Everything of a frame but the swap, which leaves the finished picture in
// the back buffer (the frame capture reads it back from there).
void DrawFrame();
// What a frame carries over to the next, without drawing: the tick from the
// clock, the lights moved to it and the particle step. It leaves the scene
// as DrawFrame would, so that the frame capture can skip the ticks it does
// not keep and still draw the next one as the show does.
void StepFrame();
// The tick of an elapsed time: milliseconds x 60 / 1000, rounded to the
// nearest integer, halves to even. Exact for every reading; readings beyond
// +-2^61 ms (73 million years) count as that far.
int64_t TickOfMs(int64_t ms);
// The timeline's tick of a tick count: ticks modulo SHOW_TICK_WRAP.
int32_t TimelineTick(int64_t ticks);
// The ticks the snow steps from one tick count to the next: none when time
// stood still or went back, at most MAX_CATCH_UP_TICKS.
uint32_t CatchUpTicks(int64_t from, int64_t to);
