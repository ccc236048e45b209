#include "effects/show_random.h"

#include <random>

static const uint32_t SHOW_RANDOM_SEED = 20261224u;
static std::mt19937 ShowRandom(SHOW_RANDOM_SEED);

void SeedShowRandom() { ShowRandom.seed(SHOW_RANDOM_SEED); }

int32_t RandomInt(int32_t n) {
  if (n <= 0) return 0;
  // The 32-bit draw scaled to 0 .. n - 1 by a 64-bit product.
  return (int32_t)(((uint64_t)ShowRandom() * (uint64_t)n) >> 32);
}

float RandomReal() { return (float)(ShowRandom() >> 8) * (1.0f / 16777216.0f); }
