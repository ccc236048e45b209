#include "effects/proctex_recipes.h"

#include "effects/proctex.h"

// The divisor of both twirls: the float nearest 1428.5714.
static const float TWIRL_DIVISOR = 1428.5714f;

void RunReflectionRecipe() {
  TexSetSize(128, 128);
  TexNoise(0, 32, 1732459136u, 128, true);
  TexSinePlasma(1, 0.001f, 0.16f, 212);
  TexHsvScale(1, 1, 1.0f, 1.0f, 2.0f);
  TexSinePlasma(2, 0.064f, 0.016f, 256);
  TexSineWarp(2, 2, 0.036f, 95.0f, 0.123f, 75.0f);
  TexRgbScale(2, 2, 0.99f, 0.94f, 0.99f);
  TexBlur(2, 2);
  TexRadial(3, 2.0f);
  TexSineWarp(3, 3, -0.042f, 61.0f, 0.191f, -35.0f);
  TexTwirl(3, 3, 150.0f, TWIRL_DIVISOR);
  TexBlur(3, 3);
  TexFill(4, 0, 0, 0);
  TexMultiply(0, 1, 4, 1.0f, 1.0f);
  TexBlend(4, 2, 4, 1.0f, 1.0f);
  TexDisplace(4, 3, 4, 0.15f, 0.15f);
}

void RunTreeRecipe() {
  TexSetSize(256, 256);
  TexSinePlasma(0, 0.256f, 0.016f, 256);
  TexTwirl(0, 0, 70.0f, TWIRL_DIVISOR);
  TexNoise(1, 64, 1763836032u, 256, false);
  TexRgbAdd(1, 1, -100, -50, 0);
  TexSineWarp(1, 1, 0.1f, 50.0f, 0.2f, 50.0f);
  TexFractalNoise(2, 128, 1234567u, 256, 125, 4, false);
  TexFill(4, 0, 0, 0);
  TexBlend(0, 1, 4, 1.0f, -1.0f);
  TexBlend(4, 2, 4, 1.0f, 1.0f);
  TexBlend(4, 3, 4, 1.0f, 1.0f);  // layer 3 is still black
}

void RunSurfaceRecipe() {
  TexSetSize(256, 256);
  TexFractalNoise(0, 128, 1234567u, 256, 150, 7, false);
  TexNoise(1, 32, 1547963648u, 256, false);
  TexRgbAdd(1, 1, -150, -150, -50);
  TexRgbAdd(1, 1, 0, 0, 10);
  TexSineWarp(1, 1, 0.1f, 5.0f, 0.2f, 4.0f);
  TexFractalNoise(2, 128, 1934567u, 256, 120, 4, false);
  TexFill(4, 0, 0, 0);
  TexBlend(0, 1, 4, 1.0f, -0.3f);
  TexBlend(4, 2, 4, 1.0f, 0.5f);
  TexBlend(4, 3, 4, 1.0f, 1.0f);
}
