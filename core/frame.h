// The per-frame driver: the GLUT display callback.
#pragma once

#include <cstdint>

extern int32_t CurrentTick;
extern int32_t PreviousTick;

void DisplayFrame();
