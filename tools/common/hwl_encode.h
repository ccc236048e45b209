// The HWL encoder: forward Haar analysis, per-level quantisation chosen from
// a quality setting, and the class-symbol and magnitude streams.
#pragma once

#include <cstdint>
#include <vector>

enum { HWL_DEFAULT_QUALITY = 75, HWL_DEFAULT_MAX_LEVELS = 5 };

struct HwlEncodeSettings {
  int Levels;   // n (0 ... 16); -1 picks the deepest of 0 ... 5 the sides allow
  int Quality;  // 1 (smallest file) ... 100 (finest quantisation)
};

// Encodes an image of width x height pixels with channels bytes per pixel
// (1: grey, an 8-bit file; 3: red, green, blue, a 24-bit file), rows from the
// top. Returns false with a one-line reason in error when the image cannot be
// stored (sides not divisible by 2^(levels + 1), too large, bad settings).
bool encodeHwl(const uint8_t *pixels, int width, int height, int channels, const HwlEncodeSettings &settings,
               std::vector<uint8_t> &file, char *error, int errorSize);

// The deepest n of 0 ... maxLevels for which both sides are multiples of
// 2^(n + 1); -1 when a side is odd.
int hwlDeepestLevels(int width, int height, int maxLevels);

// Forward analysis of one line of length m into low[0 .. m/2-1] and
// high[0 .. m/2-1] (exposed for the tests).
void analyseHwlLine(const double *in, int step, double *low, double *high, int outStep, int m);
