// The show's general random generator (the snow fountains draw from it). It
// is our own Mersenne Twister with explicit range mapping, so the sequence is
// the same with every C++ library; SeedShowRandom gives it its fixed start.
#pragma once

#include <cstdint>

// Puts the generator at its fixed start-up state; the scene set-up calls it
// first, so a given tick always shows the same snow.
void SeedShowRandom();
// A uniform integer 0 .. n - 1; 0 when n is 0 or negative.
int32_t RandomInt(int32_t n);
// A uniform real in [0, 1), 24 bits fine.
float RandomReal();
