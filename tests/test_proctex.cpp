// The texture generator's operations on small layers, against values worked
// out by hand.
// frosten-test-links: base
#include "effects/proctex.h"

#include <gtest/gtest.h>

#include <cmath>

// The reference warps below must round like the generator: no fused multiply-adds.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

static void Set(int layer, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
  uint8_t *p = TexGen.Layers[layer].data() + ((size_t)y * TexGen.Width + x) * 3;
  p[0] = r;
  p[1] = g;
  p[2] = b;
}

static void SetGrey(int layer, int x, int y, uint8_t v) { Set(layer, x, y, v, v, v); }

static int Red(int layer, int x, int y) { return TexPixel(layer, x, y).R; }

static bool IsGrey(TexRgb p) { return p.R == p.G && p.G == p.B; }

static void ExpectPixel(int layer, int x, int y, int r, int g, int b) {
  TexRgb p = TexPixel(layer, x, y);
  EXPECT_EQ(p.R, r) << "at " << x << "," << y;
  EXPECT_EQ(p.G, g) << "at " << x << "," << y;
  EXPECT_EQ(p.B, b) << "at " << x << "," << y;
}

// A layer in which every pixel differs: red x * 32 + y * 4, green and blue
// other mixes, so a sample names the pixel it came from.
static void FillPattern(int layer) {
  for (int y = 0; y < TexGen.Height; y++) {
    for (int x = 0; x < TexGen.Width; x++) {
      Set(layer, x, y, (uint8_t)(x * 32 + y * 4), (uint8_t)(y * 32 + x * 4), (uint8_t)((x * 7 + y * 13) & 255));
    }
  }
}

static bool SameLayers(int a, int b) { return TexGen.Layers[a] == TexGen.Layers[b]; }

class ProcTex : public ::testing::Test {
 protected:
  void TearDown() override { TexRelease(); }
};

// ---------------------------------------------------------------------------
// Random sequence and state

TEST_F(ProcTex, RandomSequenceFromKnownStates) {
  TexGen.RandomState = 1;
  EXPECT_EQ(TexRandom(), 346u);
  EXPECT_EQ(TexRandom(), 32552u);
  EXPECT_EQ(TexRandom(), 10851u);
  TexGen.RandomState = 1234567;
  EXPECT_EQ(TexRandom(), 46009u);
  EXPECT_EQ(TexRandom(), 58492u);
  EXPECT_EQ(TexRandom(), 36724u);
}

TEST_F(ProcTex, SetSizeZeroesLayersAndSetsMasks) {
  ASSERT_TRUE(TexSetSize(8, 4));
  FillPattern(0);
  FillPattern(4);
  ASSERT_TRUE(TexSetSize(16, 32));
  EXPECT_EQ(TexGen.Width, 16);
  EXPECT_EQ(TexGen.Height, 32);
  EXPECT_EQ(TexGen.WidthMask, 15);
  EXPECT_EQ(TexGen.HeightMask, 31);
  for (int layer = 0; layer < TEX_LAYER_COUNT; layer++) EXPECT_EQ(TexGen.Layers[layer].size(), 16u * 32u * 3u);
  for (int layer = 0; layer < 5; layer++) {
    for (uint8_t byte : TexGen.Layers[layer]) ASSERT_EQ(byte, 0) << "layer " << layer;
  }
}

TEST_F(ProcTex, BadSizesLeaveAnEmptyGeneratorThatTouchesNothing) {
  ASSERT_TRUE(TexSetSize(4, 4));
  EXPECT_FALSE(TexSetSize(6, 4));
  EXPECT_FALSE(TexSetSize(4, 0));
  EXPECT_FALSE(TexSetSize(-8, 4));
  EXPECT_FALSE(TexSetSize(TEX_MAX_SIDE * 2, 4));
  EXPECT_EQ(TexGen.Width, 0);
  EXPECT_EQ(TexGen.Height, 0);
  // Every operation is a harmless no-op on the empty generator.
  TexGen.RandomState = 7;
  TexNoise(0, 4, 0, 256, true);
  TexFractalNoise(0, 8, 0, 256, 125, 4, false);
  TexSinePlasma(0, 0.1f, 0.1f, 256);
  TexRadial(0, 2.0f);
  TexFill(0, 1, 2, 3);
  TexBlur(0, 1);
  TexSineWarp(0, 1, 0.1f, 5.0f, 0.1f, 5.0f);
  TexTwirl(0, 1, 150.0f, 1428.5714f);
  TexDisplace(0, 1, 2, 0.1f, 0.1f);
  TexHsvScale(0, 0, 2.0f, 2.0f, 2.0f);
  TexBlend(0, 1, 2, 1.0f, 1.0f);
  EXPECT_EQ(TexGen.RandomState, 7u);
  TexRgb p = TexSample(0, 1.5f, 2.5f);
  EXPECT_EQ(p.R + p.G + p.B, 0);
}

TEST_F(ProcTex, ReleaseKeepsOnlyTheRandomState) {
  ASSERT_TRUE(TexSetSize(4, 4));
  TexNoise(0, 1, 99, 256, false);
  uint32_t state = TexGen.RandomState;
  TexRelease();
  EXPECT_EQ(TexGen.RandomState, state);
  EXPECT_EQ(TexGen.Width, 0);
  for (int layer = 0; layer < TEX_LAYER_COUNT; layer++) EXPECT_TRUE(TexGen.Layers[layer].empty());
}

// ---------------------------------------------------------------------------
// Noise

TEST_F(ProcTex, NoiseStepOneWritesTheSequenceAndSkipsInterpolation) {
  ASSERT_TRUE(TexSetSize(2, 2));
  TexNoise(0, 1, 1, 256, false);
  // 346, 32552, 10851, 22876 masked to a byte, row by row.
  EXPECT_EQ(Red(0, 0, 0), 90);
  EXPECT_EQ(Red(0, 1, 0), 40);
  EXPECT_EQ(Red(0, 0, 1), 99);
  EXPECT_EQ(Red(0, 1, 1), 92);
  for (int i = 0; i < 4; i++) EXPECT_TRUE(IsGrey(TexPixel(0, i & 1, i >> 1)));

  // Colour draws red, green and blue in that order for each pixel.
  TexNoise(1, 1, 1, 256, true);
  ExpectPixel(1, 0, 0, 90, 40, 99);
  ExpectPixel(1, 1, 0, 92, 43333 & 255, 60996 & 255);
}

TEST_F(ProcTex, NoiseSeedZeroContinuesTheSequence) {
  ASSERT_TRUE(TexSetSize(2, 1));
  TexNoise(0, 1, 1, 256, false);  // draws 346, 32552
  TexNoise(1, 1, 0, 256, false);  // continues with 10851, 22876
  EXPECT_EQ(Red(1, 0, 0), 99);
  EXPECT_EQ(Red(1, 1, 0), 92);
}

TEST_F(ProcTex, NoiseRangeIsABitMask) {
  ASSERT_TRUE(TexSetSize(16, 16));
  TexNoise(0, 1, 1, 1, true);
  for (uint8_t byte : TexGen.Layers[0]) ASSERT_EQ(byte, 0);
  // Range 1 still drew one number per channel and pixel.
  uint32_t expected = 1;
  for (int i = 0; i < 16 * 16 * 3; i++) expected *= 22695477u;
  EXPECT_EQ(TexGen.RandomState, expected);

  // Range 125 only keeps bits of 124: multiples of 4 up to 124.
  TexNoise(0, 1, 5, 125, false);
  bool sawNonZero = false;
  for (uint8_t byte : TexGen.Layers[0]) {
    ASSERT_EQ(byte % 4, 0);
    ASSERT_LE(byte, 124);
    sawNonZero |= byte != 0;
  }
  EXPECT_TRUE(sawNonZero);
}

TEST_F(ProcTex, NoiseInterpolatesCellsWithTheShortPi) {
  ASSERT_TRUE(TexSetSize(4, 4));
  // Lattice (0,0) 90, (2,0) 40, (0,2) 99, (2,2) 92; the cells wrap. With pi
  // as 3.141592 the half-way weight is 0.49999985, not 0.5, so halfway
  // between 40 and 90 gives 64 going right (the wrapped cell at x = 2) and
  // 65 going left.
  TexNoise(0, 2, 1, 256, false);
  const int expected[4][4] = {
      {90, 65, 40, 64},
      {94, 80, 65, 80},
      {99, 95, 92, 95},
      {94, 80, 66, 80},
  };
  for (int y = 0; y < 4; y++) {
    for (int x = 0; x < 4; x++) {
      EXPECT_EQ(Red(0, x, y), expected[y][x]) << "at " << x << "," << y;
      EXPECT_TRUE(IsGrey(TexPixel(0, x, y)));
    }
  }
}

TEST_F(ProcTex, NoiseStepLargerThanTheLayerStaysBounded) {
  ASSERT_TRUE(TexSetSize(4, 4));
  // One lattice point whose four corners are itself: the whole layer takes
  // its value, less the weights' rounding.
  TexNoise(0, 16, 1, 256, false);
  EXPECT_EQ(Red(0, 0, 0), 90);
  for (int y = 0; y < 4; y++) {
    for (int x = 0; x < 4; x++) EXPECT_GE(Red(0, x, y), 89);
  }
  TexNoise(0, 0, 1, 256, false);  // a step of 0 counts as 1
  EXPECT_EQ(Red(0, 1, 0), 40);
}

// ---------------------------------------------------------------------------
// Fractal noise

// The octaves the fractal noise must add, built by hand from plain noise.
static void FractalByHand(int layer, int step, uint32_t seed, const int (*octaves)[2], int count) {
  TexNoise(layer, step, seed, 1, false);
  for (int i = 0; i < count; i++) {
    TexNoise(3, octaves[i][0], 0, octaves[i][1], false);
    TexBlend(layer, 3, layer, 1.0f, 1.0f);
  }
}

TEST_F(ProcTex, FractalNoiseAddsTheStatedOctaves) {
  const int p125[][2] = {{64, 125}, {32, 61}, {16, 29}};
  const int p120[][2] = {{64, 120}, {32, 56}, {16, 26}};
  const int p150[][2] = {{64, 150}, {32, 87}, {16, 50}, {8, 29}, {4, 16}, {2, 9}};
  struct Case {
    int Persistence, Octaves;
    const int (*Steps)[2];
    int Count;
  } cases[] = {{125, 4, p125, 3}, {120, 4, p120, 3}, {150, 7, p150, 6}};
  ASSERT_TRUE(TexSetSize(256, 256));
  for (const Case &c : cases) {
    TexFractalNoise(0, 128, 1234567, 256, c.Persistence, c.Octaves, false);
    uint32_t state = TexGen.RandomState;
    FractalByHand(1, 128, 1234567, c.Steps, c.Count);
    EXPECT_TRUE(SameLayers(0, 1)) << "persistence " << c.Persistence;
    EXPECT_EQ(TexGen.RandomState, state);
  }
}

TEST_F(ProcTex, FractalNoiseWithOneOctaveIsBlackButDraws) {
  ASSERT_TRUE(TexSetSize(16, 16));
  FillPattern(0);
  TexFractalNoise(0, 4, 1, 256, 125, 1, true);
  for (uint8_t byte : TexGen.Layers[0]) ASSERT_EQ(byte, 0);
  uint32_t expected = 1;
  for (int i = 0; i < 4 * 4 * 3; i++) expected *= 22695477u;  // 16 lattice points, 3 draws each
  EXPECT_EQ(TexGen.RandomState, expected);
}

TEST_F(ProcTex, FractalNoiseStopsWhenAmplitudeOrStepRunsOut) {
  ASSERT_TRUE(TexSetSize(8, 8));
  // Persistence 1: amplitude 256 -> 1 (range 1, still drawn at step 2) -> 0, stop.
  TexFractalNoise(0, 4, 1, 256, 1, 10, false);
  for (uint8_t byte : TexGen.Layers[0]) ASSERT_EQ(byte, 0);
  uint32_t expected = 1;
  for (int i = 0; i < 4 + 16; i++) expected *= 22695477u;
  EXPECT_EQ(TexGen.RandomState, expected);

  // Step 2 halves to 1 and then to 0: two octaves at most, however many are asked for.
  TexFractalNoise(0, 2, 1, 256, 256, 40, false);
  expected = 1;
  for (int i = 0; i < 16 + 64; i++) expected *= 22695477u;
  EXPECT_EQ(TexGen.RandomState, expected);
}

// ---------------------------------------------------------------------------
// Sampling

TEST_F(ProcTex, SampleInterpolatesWrapsAndMirrorsNegativeFractions) {
  ASSERT_TRUE(TexSetSize(4, 4));
  SetGrey(0, 1, 0, 200);
  SetGrey(0, 3, 0, 100);
  SetGrey(0, 2, 2, 77);
  EXPECT_EQ(TexSample(0, 1.0f, 0.0f).R, 200);  // whole coordinates give the pixel
  EXPECT_EQ(TexSample(0, 2.0f, 2.0f).G, 77);
  EXPECT_EQ(TexSample(0, 0.5f, 0.0f).R, 99);   // 200 x 0.49999985, truncated
  EXPECT_EQ(TexSample(0, 4.5f, 4.0f).R, 99);   // wrapped by the masks
  // Toward zero: -0.5 lies between pixels 0 and 1 with a negative fraction
  // that weighs like +0.5.
  EXPECT_EQ(TexSample(0, -0.5f, 0.0f).R, 99);
  // So -3.5, the same place as 0.5 after wrapping, truncates to -3 (pixel 1)
  // and weighs pixel 1 by 1 - 0.49999985 instead.
  EXPECT_EQ(TexSample(0, -3.5f, -8.0f).R, 100);
  EXPECT_EQ(TexSample(0, -0.25f, 0.0f).R, TexSample(0, 0.25f, 0.0f).R);
  // -1.5: corners -1 (wrapped to 3) and 0, fraction -0.5.
  EXPECT_EQ(TexSample(0, -1.5f, 0.0f).R, 50);
  // Coordinates far outside the layer still wrap.
  EXPECT_EQ(TexSample(0, 1.0f + 4.0f * 1000000.0f, 0.0f).R, 200);
  EXPECT_EQ(TexSample(0, NAN, 0.0f).R, 0);
}

// ---------------------------------------------------------------------------
// Patterns

TEST_F(ProcTex, SinePlasmaValues) {
  ASSERT_TRUE(TexSetSize(4, 4));
  const float quarter = 1.5707964f;  // sin = 1 at 1, sin = -0.0000001 at 2
  TexSinePlasma(0, quarter, quarter, 256);
  EXPECT_EQ(Red(0, 0, 0), 127);
  EXPECT_EQ(Red(0, 1, 0), 190);
  EXPECT_EQ(Red(0, 2, 0), 126);  // 127 - 0.0000055 stored as a float, truncated
  EXPECT_EQ(Red(0, 3, 0), 63);
  EXPECT_EQ(Red(0, 1, 1), 254);
  EXPECT_EQ(Red(0, 3, 3), 0);
  EXPECT_TRUE(IsGrey(TexPixel(0, 1, 1)));
  TexSinePlasma(1, quarter, quarter, 128);
  EXPECT_EQ(Red(1, 1, 1), 127);

  ASSERT_TRUE(TexSetSize(64, 64));
  TexSinePlasma(0, 0.37f, 1.9f, 256);
  int high = 0, low = 255;
  for (uint8_t byte : TexGen.Layers[0]) {
    high = byte > high ? byte : high;
    low = byte < low ? byte : low;
  }
  EXPECT_LE(high, 254);
  EXPECT_GE(high, 240);
  EXPECT_LE(low, 15);
}

TEST_F(ProcTex, RadialSpot) {
  ASSERT_TRUE(TexSetSize(8, 8));
  TexRadial(0, 2.0f);
  EXPECT_EQ(Red(0, 4, 4), 255);  // centre at the integer halves
  EXPECT_EQ(Red(0, 5, 4), 165);  // 255 - 360 x 0.25
  EXPECT_EQ(Red(0, 6, 4), 75);
  EXPECT_EQ(Red(0, 7, 4), 0);    // beyond 0.708 half-widths: black
  EXPECT_EQ(Red(0, 4, 3), 165);
  EXPECT_EQ(Red(0, 5, 5), 127);  // 255 - 360 x 0.35355
  EXPECT_EQ(Red(0, 0, 0), 0);
  TexRadial(1, 1.0f);
  EXPECT_EQ(Red(1, 6, 4), 165);
  EXPECT_TRUE(IsGrey(TexPixel(1, 5, 6)));
}

// ---------------------------------------------------------------------------
// Colour arithmetic

TEST_F(ProcTex, FillAddAndScaleClampAndTruncate) {
  ASSERT_TRUE(TexSetSize(2, 2));
  TexFill(0, 10, 128, 250);
  ExpectPixel(0, 1, 1, 10, 128, 250);
  TexRgbAdd(0, 1, -100, 50, 10);
  ExpectPixel(1, 0, 1, 0, 178, 255);
  ExpectPixel(0, 0, 1, 10, 128, 250);  // the source is untouched
  TexRgbAdd(0, 0, -2000000000, 2000000000, 0);
  ExpectPixel(0, 1, 0, 0, 255, 250);

  TexFill(0, 3, 200, 100);
  TexRgbScale(0, 0, 0.9f, 1.5f, -1.0f);
  ExpectPixel(0, 0, 0, 2, 255, 0);  // 2.7 truncates to 2
}

TEST_F(ProcTex, MultiplyAndBlend) {
  ASSERT_TRUE(TexSetSize(2, 2));
  TexFill(0, 100, 255, 200);
  TexFill(1, 51, 255, 0);
  TexMultiply(0, 1, 2, 1.0f, 1.0f);
  ExpectPixel(2, 0, 0, 20, 255, 0);
  TexMultiply(0, 1, 2, 2.0f, 1.0f);
  ExpectPixel(2, 0, 0, 40, 255, 0);

  TexFill(0, 50, 200, 101);
  TexFill(1, 100, 100, 0);
  TexBlend(0, 1, 2, 1.0f, -1.0f);  // a negative factor subtracts, clamped at 0
  ExpectPixel(2, 1, 1, 0, 100, 101);
  TexBlend(0, 1, 2, 1.0f, 1.0f);
  ExpectPixel(2, 1, 1, 150, 255, 101);
  TexBlend(0, 1, 0, 0.5f, 0.0f);  // into one of its own sources
  ExpectPixel(0, 1, 1, 25, 100, 50);
}

TEST_F(ProcTex, HsvScaleKeepsGreyGreyAndTurnsHues) {
  ASSERT_TRUE(TexSetSize(4, 2));
  SetGrey(0, 0, 0, 100);
  SetGrey(0, 1, 0, 200);
  Set(0, 2, 0, 200, 0, 0);    // red, hue 0
  Set(0, 3, 0, 0, 200, 0);    // green, hue 120
  Set(0, 0, 1, 200, 100, 0);  // orange, hue 30
  Set(0, 1, 1, 0, 0, 200);    // blue, hue 240

  TexHsvScale(0, 1, 1.0f, 1.0f, 2.0f);
  ExpectPixel(1, 0, 0, 200, 200, 200);  // grey: hue -1, saturation 0, value scaled
  ExpectPixel(1, 1, 0, 255, 255, 255);  // value clamped at 255
  ExpectPixel(1, 2, 0, 255, 0, 0);

  TexHsvScale(0, 1, 1.0f, 1.0f, 1.0f);
  ExpectPixel(1, 2, 0, 200, 0, 0);
  ExpectPixel(1, 3, 0, 0, 200, 0);
  ExpectPixel(1, 0, 1, 200, 100, 0);

  TexHsvScale(0, 1, 2.0f, 1.0f, 1.0f);
  ExpectPixel(1, 3, 0, 0, 0, 200);      // 120 -> 240: blue
  ExpectPixel(1, 1, 1, 0, 200, 0);      // 240 -> 480, wrapped to 120: green
  ExpectPixel(1, 0, 0, 100, 100, 100);  // grey stays grey under any hue scale

  TexHsvScale(0, 1, -1.0f, 1.0f, 1.0f);
  ExpectPixel(1, 0, 1, 200, 0, 100);  // 30 -> -30, wrapped to 330

  TexHsvScale(0, 1, 1.0f, 0.5f, 1.0f);
  ExpectPixel(1, 2, 0, 200, 100, 100);
  TexHsvScale(0, 1, 1.0f, 5.0f, 1.0f);  // saturation clamped at 1
  ExpectPixel(1, 0, 1, 200, 100, 0);

  // Huge and infinite hue factors end (no endless wrapping loop).
  TexHsvScale(0, 1, 1.0e30f, 1.0f, 1.0f);
  TexHsvScale(0, 1, INFINITY, 1.0f, 1.0f);
  ExpectPixel(1, 0, 1, 200, 0, 0);  // an infinite hue counts as 0
  ExpectPixel(1, 0, 0, 100, 100, 100);
}

// ---------------------------------------------------------------------------
// Filters and warps

TEST_F(ProcTex, BlurBinomialWithWrap) {
  ASSERT_TRUE(TexSetSize(4, 4));
  SetGrey(0, 1, 1, 255);
  TexBlur(0, 1);
  const int expected[4][4] = {
      {15, 31, 15, 0},
      {31, 63, 31, 0},
      {15, 31, 15, 0},
      {0, 0, 0, 0},
  };
  for (int y = 0; y < 4; y++) {
    for (int x = 0; x < 4; x++) EXPECT_EQ(Red(1, x, y), expected[y][x]) << "at " << x << "," << y;
  }
  // A corner pixel spreads across both edges; in place works.
  TexFill(0, 0, 0, 0);
  Set(0, 0, 0, 0, 160, 0);
  TexBlur(0, 0);
  ExpectPixel(0, 3, 3, 0, 10, 0);
  ExpectPixel(0, 3, 0, 0, 20, 0);
  ExpectPixel(0, 0, 0, 0, 40, 0);
  // A flat layer stays flat.
  TexFill(2, 9, 99, 201);
  TexBlur(2, 2);
  ExpectPixel(2, 2, 3, 9, 99, 201);
}

TEST_F(ProcTex, SineWarpShiftsRowsAndColumnsAcrossTheEdges) {
  ASSERT_TRUE(TexSetSize(4, 2));
  FillPattern(0);
  TexSineWarp(0, 1, 0.7f, 0.0f, 0.3f, 0.0f);  // no amplitude: a copy
  EXPECT_TRUE(SameLayers(0, 1));

  // Row 1 moves by sin(pi/2) x 2 = 2 pixels, wrapping; row 0 (sin 0) stays.
  TexSineWarp(0, 1, 1.5707964f, 2.0f, 0.0f, 0.0f);
  for (int x = 0; x < 4; x++) {
    EXPECT_EQ(TexPixel(1, x, 0).G, TexPixel(0, x, 0).G);
    EXPECT_EQ(TexPixel(1, x, 1).R, TexPixel(0, (x + 2) & 3, 1).R) << "x " << x;
  }
  // Column 1 moves down one row (wrapping), column 0 stays; in place.
  FillPattern(2);
  TexSineWarp(2, 2, 0.0f, 0.0f, 1.5707964f, 1.0f);
  for (int y = 0; y < 2; y++) {
    EXPECT_EQ(TexPixel(2, 0, y).B, TexPixel(0, 0, y).B);
    EXPECT_EQ(TexPixel(2, 1, y).B, TexPixel(0, 1, (y + 1) & 1).B) << "y " << y;
  }
}

TEST_F(ProcTex, TwirlTurnsAboutTheCentreOnly) {
  ASSERT_TRUE(TexSetSize(8, 8));
  FillPattern(0);
  TexTwirl(0, 1, 0.0f, 1428.5714f);
  EXPECT_TRUE(SameLayers(0, 1));

  // Distance 1 from the centre (4, 4): r = 3^2 / sqrt(128); this strength
  // makes that a quarter turn, so (4,3) samples (5,4), (4,5) samples (3,4)
  // and (3,4) samples (4,3).
  float strength = 1.5707964f * std::sqrt(128.0f) / 9.0f;
  TexTwirl(0, 1, strength, 1.0f);
  EXPECT_EQ(Red(1, 4, 3), Red(0, 5, 4));
  EXPECT_EQ(Red(1, 4, 5), Red(0, 3, 4));
  EXPECT_EQ(Red(1, 3, 4), Red(0, 4, 3));
  EXPECT_EQ(Red(1, 4, 4), Red(0, 4, 4));  // the centre stays
  // At or beyond radius 4 nothing turns.
  for (int i = 0; i < 8; i++) {
    EXPECT_EQ(Red(1, i, 0), Red(0, i, 0));
    EXPECT_EQ(Red(1, 0, i), Red(0, 0, i));
  }
  EXPECT_EQ(Red(1, 7, 7), Red(0, 7, 7));
}

// The warps taken straight from their definitions through TexSample, one
// pixel at a time, to hold the fast versions to.
static void TwirlByDefinition(int from, int to, float strength, float divisor) {
  int hw = TexGen.Width / 2, hh = TexGen.Height / 2;
  std::vector<uint8_t> out(TexGen.Layers[from].size());
  for (int y = 0; y < TexGen.Height; y++) {
    for (int x = 0; x < TexGen.Width; x++) {
      float dx = (float)(x - hw), dy = (float)(y - hh);
      float r = (float)hw - (float)std::sqrt((double)(dx * dx + dy * dy));
      if (r < 0.0f) r = 0.0f;
      r = r * r / (float)std::sqrt((double)(2.0f * TexGen.Width * TexGen.Height));
      float angle = strength * r / divisor;
      float c = (float)std::cos((double)angle), s = (float)std::sin((double)angle);
      TexRgb p = TexSample(from, (float)hw + dx * c - dy * s, (float)hh + dx * s + dy * c);
      uint8_t *o = out.data() + ((size_t)y * TexGen.Width + x) * 3;
      o[0] = p.R, o[1] = p.G, o[2] = p.B;
    }
  }
  TexGen.Layers[to] = out;
}

static void SineWarpByDefinition(int from, int to, float fy, float ax, float fx, float ay) {
  std::vector<uint8_t> out(TexGen.Layers[from].size());
  for (int y = 0; y < TexGen.Height; y++) {
    for (int x = 0; x < TexGen.Width; x++) {
      float sx = (float)(x + std::sin((double)((float)y * fy)) * ax);
      float sy = (float)(y + std::sin((double)((float)x * fx)) * ay);
      TexRgb p = TexSample(from, sx, sy);
      uint8_t *o = out.data() + ((size_t)y * TexGen.Width + x) * 3;
      o[0] = p.R, o[1] = p.G, o[2] = p.B;
    }
  }
  TexGen.Layers[to] = out;
}

TEST_F(ProcTex, WarpsMatchTheirDefinitionOnOddShapes) {
  const int sizes[][2] = {{32, 8}, {8, 64}, {1, 16}, {64, 64}};
  for (const auto &size : sizes) {
    ASSERT_TRUE(TexSetSize(size[0], size[1]));
    TexNoise(0, 1, 4242, 256, true);
    TexTwirl(0, 1, 150.0f, 1428.5714f);
    TwirlByDefinition(0, 2, 150.0f, 1428.5714f);
    EXPECT_TRUE(SameLayers(1, 2)) << "twirl " << size[0] << "x" << size[1];
    TexSineWarp(0, 1, -0.042f, 61.0f, 0.191f, -35.0f);
    SineWarpByDefinition(0, 2, -0.042f, 61.0f, 0.191f, -35.0f);
    EXPECT_TRUE(SameLayers(1, 2)) << "warp " << size[0] << "x" << size[1];
  }
}

TEST_F(ProcTex, DisplaceByTheMapsValue) {
  ASSERT_TRUE(TexSetSize(4, 4));
  FillPattern(0);
  TexDisplace(0, 1, 2, 0.5f, 0.5f);  // a black map: a copy
  EXPECT_TRUE(SameLayers(0, 2));

  // Value = largest channel, 128 here; 128 / 128 = 1 pixel right, 2 down.
  TexFill(1, 0, 128, 64);
  TexGen.Layers[3] = TexGen.Layers[0];
  TexDisplace(3, 1, 3, 1.0f / 128.0f, 2.0f / 128.0f);  // source and target the same layer
  for (int y = 0; y < 4; y++) {
    for (int x = 0; x < 4; x++) EXPECT_EQ(Red(3, x, y), Red(0, (x + 1) & 3, (y + 2) & 3));
  }
}
