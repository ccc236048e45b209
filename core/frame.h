// The per-frame driver: the GLUT display callback.
#pragma once

#include <cstdint>

extern int32_t CurrentTick;
extern int32_t PreviousTick;

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
// nearest integer, halves to even.
int32_t TickOfMs(int32_t ms);
