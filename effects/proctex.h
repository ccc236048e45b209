// Procedural texture generator: a stack of RGB layers of one common size, a
// private random sequence and the image operations the show's generated
// textures are made of. Every operation is deterministic, so the same calls
// with the same seeds always give the same bytes.
#pragma once

#include <cstdint>
#include <vector>

enum {
  TEX_LAYER_COUNT = 6,  // layers 0-4 are the working layers
  TEX_SCRATCH = 5,      // layer 5 is the operations' own source copy / output buffer
  TEX_MAX_SIDE = 8192,
};

// Generator state, one per process. Pixel (x, y) of a layer starts at byte
// (y * Width + x) * 3, red, green, blue; row 0 comes first.
struct TexGenerator {
  int32_t Width;
  int32_t Height;
  int32_t WidthMask;   // Width - 1; every neighbour or sample coordinate is ANDed with it
  int32_t HeightMask;  // Height - 1
  std::vector<uint8_t> Layers[TEX_LAYER_COUNT];
  uint32_t RandomState;  // 0 until the first seeded noise call
};

struct TexRgb {
  uint8_t R, G, B;
};

extern TexGenerator TexGen;

// Sizes every layer to width x height (powers of two, 1 ... TEX_MAX_SIDE),
// zeroes layers 0-4 and sets the masks. Any other size is refused: the
// generator is left empty (size 0), every operation then touches nothing,
// and the result is false.
bool TexSetSize(int32_t width, int32_t height);
// Releases all six layers; only RandomState survives.
void TexRelease();
// Next value of the private random sequence, 0 ... 65535.
uint32_t TexRandom();

// Layer arguments are 0-4 (the noise also takes the scratch layer 5 when the
// fractal noise builds its octaves); they are trusted. From-to operations
// may name the same layer twice. Pixels are visited row by row, y outer.
void TexNoise(int layer, int32_t step, uint32_t seed, int32_t range, bool colour);
void TexFractalNoise(int layer, int32_t step, uint32_t seed, int32_t amplitude,
                     int32_t persistence, int32_t octaves, bool colour);
void TexSinePlasma(int layer, float fx, float fy, int32_t amplitude);
void TexRadial(int layer, float scale);
void TexFill(int layer, uint8_t r, uint8_t g, uint8_t b);
void TexRgbAdd(int from, int to, int32_t dr, int32_t dg, int32_t db);
void TexRgbScale(int from, int to, float kr, float kg, float kb);
void TexHsvScale(int from, int to, float kh, float ks, float kv);
void TexMultiply(int a, int b, int to, float ka, float kb);
void TexBlend(int a, int b, int to, float ka, float kb);
void TexBlur(int from, int to);
void TexSineWarp(int from, int to, float fy, float ax, float fx, float ay);
void TexTwirl(int from, int to, float strength, float divisor);
void TexDisplace(int source, int map, int to, float kx, float ky);
// Cosine-interpolated sample at (x, y), wrapped; black when the generator is empty.
TexRgb TexSample(int layer, float x, float y);

// Pixel (x, y) of a layer, wrapped by the masks (for tests and tools).
TexRgb TexPixel(int layer, int32_t x, int32_t y);
