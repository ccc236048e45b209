#include "effects/proctex.h"

#include <cmath>
#include <cstring>

// Arithmetic convention of this file: variables and stored intermediates are
// single-precision floats; sin, cos and sqrt are the double-precision library
// calls on the float argument, their results rounded to float wherever they
// are stored. Nothing here may be contracted into fused multiply-adds (which
// targets with FMA instructions would otherwise do): the byte results depend
// on every rounding step.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

TexGenerator TexGen;

static uint8_t *LayerData(int layer) { return TexGen.Layers[layer].data(); }

static size_t PixelCount() { return (size_t)TexGen.Width * (size_t)TexGen.Height; }

// Clamps to 0 ... 255 and truncates toward zero; NaN gives 0.
static inline uint8_t ClampByte(float value) {
  // NaN fails the first test and becomes 0.
  value = value > 0.0f ? value : 0.0f;
  value = value < 255.0f ? value : 255.0f;
  return (uint8_t)(int32_t)value;
}

static uint8_t ClampByteInt(int32_t value) {
  if (value < 0) return 0;
  if (value > 255) return 255;
  return (uint8_t)value;
}

static bool IsPowerOfTwo(int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

bool TexSetSize(int32_t width, int32_t height) {
  if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height) || width > TEX_MAX_SIDE || height > TEX_MAX_SIDE) {
    TexRelease();
    return false;
  }
  TexGen.Width = width;
  TexGen.Height = height;
  TexGen.WidthMask = width - 1;
  TexGen.HeightMask = height - 1;
  size_t bytes = (size_t)width * (size_t)height * 3;
  for (int i = 0; i < TEX_LAYER_COUNT; i++) {
    // The scratch layer keeps whatever it held: every operation writes it
    // whole before reading it.
    if (i == TEX_SCRATCH) TexGen.Layers[i].resize(bytes);
    else TexGen.Layers[i].assign(bytes, 0);
  }
  return true;
}

void TexRelease() {
  for (int i = 0; i < TEX_LAYER_COUNT; i++) std::vector<uint8_t>().swap(TexGen.Layers[i]);
  TexGen.Width = 0;
  TexGen.Height = 0;
  TexGen.WidthMask = 0;
  TexGen.HeightMask = 0;
}

uint32_t TexRandom() {
  TexGen.RandomState *= 22695477u;  // modulo 2^32, no additive term
  return TexGen.RandomState >> 16;
}

TexRgb TexPixel(int layer, int32_t x, int32_t y) {
  if (TexGen.Width == 0) return {0, 0, 0};
  const uint8_t *p = LayerData(layer) + ((size_t)(y & TexGen.HeightMask) * TexGen.Width + (x & TexGen.WidthMask)) * 3;
  return {p[0], p[1], p[2]};
}

// ---------------------------------------------------------------------------
// Cosine-weighted bilinear interpolation

// Weight of the far corner for a fraction u: (1 - cos(u * pi)) * 0.5 with pi
// as the decimal 3.141592. The product u * 3.141592 and the cosine are taken
// in double precision, as the float fraction times a double constant; the
// weight is rounded to float.
static float CosWeight(float u) {
  return (float)((1.0 - std::cos((double)u * 3.141592)) * 0.5);
}

struct CornerWeights {
  float W00, W10, W01, W11;
};

// The four corner weights, each the float product of its two factors.
static CornerWeights MakeWeights(float wu, float wv) {
  float iu = 1.0f - wu;
  float iv = 1.0f - wv;
  return {iu * iv, wu * iv, iu * wv, wu * wv};
}

// Blends four corner pixels (3 bytes each) into out, per channel summing
// corner x weight in a float in the order c00, c10, c01, c11, then truncating.
static void BlendCorners(const uint8_t *c00, const uint8_t *c10, const uint8_t *c01, const uint8_t *c11,
                         const CornerWeights &w, uint8_t *out) {
  for (int c = 0; c < 3; c++) {
    float sum = 0.0f;
    sum += (float)c00[c] * w.W00;
    sum += (float)c10[c] * w.W10;
    sum += (float)c01[c] * w.W01;
    sum += (float)c11[c] * w.W11;
    out[c] = ClampByte(sum);  // the weights sum to 1 within rounding: this only truncates
  }
}

// Float coordinate to integer, truncated toward zero. Wider than 32 bits so
// that the wrap by the masks stays right far outside the layer; values no
// integer type holds (and NaN) count as 0.
static int64_t TruncCoord(float value) {
  if (!(value > -4.0e18f && value < 4.0e18f)) return 0;
  return (int64_t)value;
}

// The warps sample at fractions that repeat a great deal (a whole row often
// shares one), so an operation keeps the weights it has worked out in a small
// table keyed by the fraction's bits. A hit returns exactly what CosWeight
// would, so the table changes no result.
enum { WEIGHT_CACHE_SIZE = 4096 };

struct WeightCache {
  uint32_t Key[WEIGHT_CACHE_SIZE];
  float Weight[WEIGHT_CACHE_SIZE];
};

static void ClearWeightCache(WeightCache &cache) {
  // 0xFFFFFFFF is a NaN pattern; NaN fractions never enter the table.
  memset(cache.Key, 0xFF, sizeof cache.Key);
}

static float CachedCosWeight(WeightCache *cache, float u) {
  if (!cache || u != u) return CosWeight(u);
  uint32_t bits;
  memcpy(&bits, &u, 4);
  uint32_t slot = (bits * 0x9E3779B1u) >> 20;  // 12 bits: WEIGHT_CACHE_SIZE slots
  if (cache->Key[slot] != bits) {
    cache->Key[slot] = bits;
    cache->Weight[slot] = CosWeight(u);
  }
  return cache->Weight[slot];
}

static void SampleInto(const uint8_t *layer, float x, float y, uint8_t *out, WeightCache *cache) {
  int64_t ix = TruncCoord(x);
  int64_t iy = TruncCoord(y);
  float fx = x - (float)ix;  // negative for negative coordinates: the even cosine
  float fy = y - (float)iy;  // weighs -f like +f
  int64_t x0 = ix & TexGen.WidthMask, x1 = (ix + 1) & TexGen.WidthMask;
  int64_t y0 = iy & TexGen.HeightMask, y1 = (iy + 1) & TexGen.HeightMask;
  const uint8_t *row0 = layer + (size_t)y0 * TexGen.Width * 3;
  const uint8_t *row1 = layer + (size_t)y1 * TexGen.Width * 3;
  if (fx == 0.0f && fy == 0.0f) {
    // Weights 1, 0, 0, 0 give the corner exactly; skip the cosines.
    memcpy(out, row0 + x0 * 3, 3);
    return;
  }
  CornerWeights w = MakeWeights(CachedCosWeight(cache, fx), CachedCosWeight(cache, fy));
  BlendCorners(row0 + x0 * 3, row0 + x1 * 3, row1 + x0 * 3, row1 + x1 * 3, w, out);
}

TexRgb TexSample(int layer, float x, float y) {
  if (TexGen.Width == 0) return {0, 0, 0};
  uint8_t out[3];
  SampleInto(LayerData(layer), x, y, out, nullptr);
  return {out[0], out[1], out[2]};
}

static void CopyLayer(int to, int from) {
  if (to != from && PixelCount() != 0) memcpy(LayerData(to), LayerData(from), PixelCount() * 3);
}

// ---------------------------------------------------------------------------
// Noise

void TexNoise(int layer, int32_t step, uint32_t seed, int32_t range, bool colour) {
  uint8_t *data = LayerData(layer);
  if (PixelCount() != 0) memset(data, 0, PixelCount() * 3);
  if (seed != 0) TexGen.RandomState = seed;
  // A step below 1 would never advance the lattice loops; it counts as 1. A
  // step above the largest layer side only rewrites the same pixels over and
  // over; it is held there so that a cell stays a bounded amount of work.
  if (step < 1) step = 1;
  if (step > TEX_MAX_SIDE) step = TEX_MAX_SIDE;
  uint32_t mask = (uint32_t)range - 1;  // range is a bit mask, not a modulus
  int32_t width = TexGen.Width, height = TexGen.Height;
  for (int32_t y = 0; y < height; y += step) {
    for (int32_t x = 0; x < width; x += step) {
      uint8_t *p = data + ((size_t)y * width + x) * 3;
      // A range above 256 keeps the low byte of the value.
      p[0] = (uint8_t)(TexRandom() & mask);
      if (colour) {
        p[1] = (uint8_t)(TexRandom() & mask);
        p[2] = (uint8_t)(TexRandom() & mask);
      } else {
        p[1] = p[2] = p[0];
      }
    }
  }
  if (step < 2) return;

  // The weights depend only on the offset inside a cell: u = i / step as a
  // float division.
  float weight[TEX_MAX_SIDE];
  for (int32_t i = 0; i < step; i++) weight[i] = CosWeight((float)i / (float)step);

  int32_t wmask = TexGen.WidthMask, hmask = TexGen.HeightMask;
  for (int32_t y = 0; y < height; y += step) {
    for (int32_t x = 0; x < width; x += step) {
      // The corners are read once per lattice point, before its cell is
      // written (a step larger than the layer writes a cell over its own corners).
      int32_t xs = (x + step) & wmask, ys = (y + step) & hmask;
      uint8_t c00[3], c10[3], c01[3], c11[3];
      memcpy(c00, data + ((size_t)y * width + x) * 3, 3);
      memcpy(c10, data + ((size_t)y * width + xs) * 3, 3);
      memcpy(c01, data + ((size_t)ys * width + x) * 3, 3);
      memcpy(c11, data + ((size_t)ys * width + xs) * 3, 3);
      if (colour) {
        for (int32_t j = 0; j < step; j++) {
          uint8_t *row = data + (size_t)((y + j) & hmask) * width * 3;
          for (int32_t i = 0; i < step; i++) {
            CornerWeights w = MakeWeights(weight[i], weight[j]);
            BlendCorners(c00, c10, c01, c11, w, row + ((x + i) & wmask) * 3);
          }
        }
        continue;
      }
      // Grey corners give three equal channels: work out one, with the same
      // weights and sums as BlendCorners.
      float g00 = c00[0], g10 = c10[0], g01 = c01[0], g11 = c11[0];
      for (int32_t j = 0; j < step; j++) {
        uint8_t *row = data + (size_t)((y + j) & hmask) * width * 3;
        for (int32_t i = 0; i < step; i++) {
          CornerWeights w = MakeWeights(weight[i], weight[j]);
          float sum = 0.0f;
          sum += g00 * w.W00;
          sum += g10 * w.W10;
          sum += g01 * w.W01;
          sum += g11 * w.W11;
          uint8_t *out = row + ((x + i) & wmask) * 3;
          out[0] = out[1] = out[2] = ClampByte(sum);
        }
      }
    }
  }
}

void TexFractalNoise(int layer, int32_t step, uint32_t seed, int32_t amplitude,
                     int32_t persistence, int32_t octaves, bool colour) {
  // The first call clears the layer (range 1 masks every value to 0) but
  // seeds the sequence and draws its numbers.
  TexNoise(layer, step, seed, 1, colour);
  for (int32_t octave = 1; octave < octaves; octave++) {
    amplitude = (int32_t)(((uint32_t)amplitude * (uint32_t)persistence) >> 8);
    if (amplitude <= 0) break;
    step >>= 1;
    if (step <= 0) break;
    TexNoise(TEX_SCRATCH, step, 0, amplitude, colour);
    TexBlend(layer, TEX_SCRATCH, layer, 1.0f, 1.0f);
  }
}

// ---------------------------------------------------------------------------
// Patterns

void TexSinePlasma(int layer, float fx, float fy, int32_t amplitude) {
  int32_t width = TexGen.Width, height = TexGen.Height;
  // sin(x * fx) * 63.5 depends on the column only: one table per call. The
  // product x * fx is a float; sin and the sum are double until s is stored.
  double column[TEX_MAX_SIDE];
  for (int32_t x = 0; x < width; x++) column[x] = std::sin((double)((float)x * fx)) * 63.5;
  uint8_t *p = LayerData(layer);
  for (int32_t y = 0; y < height; y++) {
    double rowTerm = std::sin((double)((float)y * fy)) * 63.5;
    for (int32_t x = 0; x < width; x++, p += 3) {
      float s = (float)(column[x] + 127.0 + rowTerm);
      // s * amplitude in float, then / 256 (exact). Amplitudes above 256
      // saturate at 255 instead of wrapping.
      uint8_t value = ClampByte(s * (float)amplitude / 256.0f);
      p[0] = p[1] = p[2] = value;
    }
  }
}

void TexRadial(int layer, float scale) {
  int32_t width = TexGen.Width, height = TexGen.Height;
  int32_t hw = width / 2, hh = height / 2;
  // Layers 1 pixel wide or high have a half of 0: the divisor becomes 1 there
  // instead of giving infinities.
  float dw = (float)(hw > 0 ? hw : 1), dh = (float)(hh > 0 ? hh : 1);
  uint8_t *p = LayerData(layer);
  for (int32_t y = 0; y < height; y++) {
    float ny = (float)(y - hh) / dh;
    for (int32_t x = 0; x < width; x++, p += 3) {
      // nx, ny, the distance and the value are floats.
      float nx = (float)(x - hw) / dw;
      float distance = (float)std::sqrt((double)(nx * nx + ny * ny));
      uint8_t value = ClampByte(255.0f - scale * 180.0f * distance);
      p[0] = p[1] = p[2] = value;
    }
  }
}

// ---------------------------------------------------------------------------
// Colour arithmetic

void TexFill(int layer, uint8_t r, uint8_t g, uint8_t b) {
  uint8_t *p = LayerData(layer);
  for (size_t i = 0, n = PixelCount(); i < n; i++, p += 3) {
    p[0] = r;
    p[1] = g;
    p[2] = b;
  }
}

void TexRgbAdd(int from, int to, int32_t dr, int32_t dg, int32_t db) {
  const uint8_t *s = LayerData(from);
  uint8_t *d = LayerData(to);
  // Deltas beyond +-255 act like +-255 (and never overflow the sum).
  int32_t delta[3] = {dr, dg, db};
  for (int c = 0; c < 3; c++) delta[c] = delta[c] < -255 ? -255 : (delta[c] > 255 ? 255 : delta[c]);
  for (size_t i = 0, n = PixelCount() * 3; i < n; i += 3) {
    for (int c = 0; c < 3; c++) d[i + c] = ClampByteInt((int32_t)s[i + c] + delta[c]);
  }
}

void TexRgbScale(int from, int to, float kr, float kg, float kb) {
  const uint8_t *s = LayerData(from);
  uint8_t *d = LayerData(to);
  float factor[3] = {kr, kg, kb};
  for (size_t i = 0, n = PixelCount() * 3; i < n; i += 3) {
    for (int c = 0; c < 3; c++) d[i + c] = ClampByte((float)s[i + c] * factor[c]);  // float product
  }
}

// Hue into 0 <= h < 360 by whole turns. fmod is exact, and so is every
// step of adding or subtracting 360 for any hue a scale can reasonably give,
// so this equals stepping by 360 until in range, without the endless loop a
// huge or infinite hue would cause.
static float WrapHue(float h) {
  if (!std::isfinite(h)) return 0.0f;
  h = std::fmod(h, 360.0f);
  while (h < 0.0f) h += 360.0f;
  while (h >= 360.0f) h -= 360.0f;
  return h;
}

struct Hsv {
  float H, S, V;
};

// HSV of channel values 0 ... 255, all in float; hue -1 when undefined.
static Hsv RgbToHsv(float r, float g, float b) {
  float max = r > g ? (r > b ? r : b) : (g > b ? g : b);
  float min = r < g ? (r < b ? r : b) : (g < b ? g : b);
  Hsv hsv;
  hsv.V = max;
  hsv.S = max != 0.0f ? (max - min) / max : 0.0f;
  if (hsv.S == 0.0f) {
    hsv.H = -1.0f;
    return hsv;
  }
  float d = max - min;
  float rc = max - r, gc = max - g, bc = max - b;
  float h;
  if (r == max) h = (bc - gc) / d;
  else if (g == max) h = 2.0f + (rc - bc) / d;
  else h = 4.0f + (gc - rc) / d;
  h *= 60.0f;
  while (h < 0.0f) h += 360.0f;  // h lies in -60 ... 300 here: one step at most
  while (h >= 360.0f) h -= 360.0f;
  hsv.H = h;
  return hsv;
}

static void HsvToRgb(Hsv hsv, uint8_t *out) {
  float h = WrapHue(hsv.H), s = hsv.S, v = hsv.V;
  if (s == 0.0f) {
    out[0] = out[1] = out[2] = ClampByte(v);
    return;
  }
  float sector = h / 60.0f;
  int32_t i = (int32_t)sector;
  float f = sector - (float)i;
  // A hue just below 360 can round to sector 6.0; with f = 0 that is sector 0.
  if (i >= 6) i = 0;
  float p = v * (1.0f - s);
  float q = v * (1.0f - s * f);
  float t = v * (1.0f - s * (1.0f - f));
  float rgb[3];
  switch (i) {
    case 0: rgb[0] = v; rgb[1] = t; rgb[2] = p; break;
    case 1: rgb[0] = q; rgb[1] = v; rgb[2] = p; break;
    case 2: rgb[0] = p; rgb[1] = v; rgb[2] = t; break;
    case 3: rgb[0] = p; rgb[1] = q; rgb[2] = v; break;
    case 4: rgb[0] = t; rgb[1] = p; rgb[2] = v; break;
    default: rgb[0] = v; rgb[1] = p; rgb[2] = q; break;
  }
  for (int c = 0; c < 3; c++) out[c] = ClampByte(rgb[c]);
}

void TexHsvScale(int from, int to, float kh, float ks, float kv) {
  const uint8_t *s = LayerData(from);
  uint8_t *d = LayerData(to);
  for (size_t i = 0, n = PixelCount() * 3; i < n; i += 3) {
    Hsv hsv = RgbToHsv((float)s[i], (float)s[i + 1], (float)s[i + 2]);
    hsv.H *= kh;  // not clamped: the conversion back wraps it
    hsv.S *= ks;
    hsv.V *= kv;
    if (!(hsv.S > 0.0f)) hsv.S = 0.0f;
    if (hsv.S > 1.0f) hsv.S = 1.0f;
    if (!(hsv.V > 0.0f)) hsv.V = 0.0f;
    if (hsv.V > 255.0f) hsv.V = 255.0f;
    HsvToRgb(hsv, d + i);
  }
}

// A byte times a factor, as a float, for each of the 256 byte values: the
// same products the per-channel arithmetic would form.
static void ScaledBytes(float factor, float *table) {
  for (int v = 0; v < 256; v++) table[v] = (float)v * factor;
}

void TexMultiply(int a, int b, int to, float ka, float kb) {
  const uint8_t *pa = LayerData(a);
  const uint8_t *pb = LayerData(b);
  uint8_t *d = LayerData(to);
  float sa[256], sb[256];
  ScaledBytes(ka, sa);
  ScaledBytes(kb, sb);
  for (size_t i = 0, n = PixelCount() * 3; i < n; i++) {
    // Both products, their product and the division by 255 in float.
    d[i] = ClampByte(sa[pa[i]] * sb[pb[i]] / 255.0f);
  }
}

void TexBlend(int a, int b, int to, float ka, float kb) {
  const uint8_t *pa = LayerData(a);
  const uint8_t *pb = LayerData(b);
  uint8_t *d = LayerData(to);
  float sa[256], sb[256];
  ScaledBytes(ka, sa);
  ScaledBytes(kb, sb);
  for (size_t i = 0, n = PixelCount() * 3; i < n; i++) {
    d[i] = ClampByte(sa[pa[i]] + sb[pb[i]]);  // float products and sum
  }
}

// ---------------------------------------------------------------------------
// Filters and warps

void TexBlur(int from, int to) {
  CopyLayer(TEX_SCRATCH, from);
  const uint8_t *s = LayerData(TEX_SCRATCH);
  uint8_t *d = LayerData(to);
  int32_t width = TexGen.Width, height = TexGen.Height;
  int32_t wmask = TexGen.WidthMask, hmask = TexGen.HeightMask;
  for (int32_t y = 0; y < height; y++) {
    const uint8_t *up = s + (size_t)((y - 1) & hmask) * width * 3;
    const uint8_t *mid = s + (size_t)y * width * 3;
    const uint8_t *down = s + (size_t)((y + 1) & hmask) * width * 3;
    for (int32_t x = 0; x < width; x++) {
      int32_t l = ((x - 1) & wmask) * 3, m = x * 3, r = ((x + 1) & wmask) * 3;
      uint8_t *out = d + ((size_t)y * width + x) * 3;
      for (int c = 0; c < 3; c++) {
        int32_t sum = up[l + c] + 2 * up[m + c] + up[r + c] +
                      2 * mid[l + c] + 4 * mid[m + c] + 2 * mid[r + c] +
                      down[l + c] + 2 * down[m + c] + down[r + c];
        out[c] = (uint8_t)(sum >> 4);
      }
    }
  }
}

void TexSineWarp(int from, int to, float fy, float ax, float fx, float ay) {
  CopyLayer(TEX_SCRATCH, from);
  const uint8_t *s = LayerData(TEX_SCRATCH);
  uint8_t *d = LayerData(to);
  int32_t width = TexGen.Width, height = TexGen.Height;
  WeightCache cache;
  ClearWeightCache(cache);
  // sx = x + sin(y * fy) * ax: the product y * fy is a float, the sine, the
  // scaling and the sum are double, and sx is stored as a float. The shift
  // depends on the row only, the vertical one on the column only.
  double columnShift[TEX_MAX_SIDE];
  for (int32_t x = 0; x < width; x++) columnShift[x] = std::sin((double)((float)x * fx)) * (double)ay;
  for (int32_t y = 0; y < height; y++) {
    double rowShift = std::sin((double)((float)y * fy)) * (double)ax;
    uint8_t *out = d + (size_t)y * width * 3;
    for (int32_t x = 0; x < width; x++, out += 3) {
      float sx = (float)((double)x + rowShift);
      float sy = (float)((double)y + columnShift[x]);
      SampleInto(s, sx, sy, out, &cache);
    }
  }
}

struct Turn {
  float Cos, Sin;
};

// The rotation of the twirl at offset (dx, dy) from the centre, all in float:
// r = hw - |(dx, dy)| (0 if negative), r = r^2 / sqrt(2 * Width * Height),
// angle = strength * r / divisor.
static Turn TwirlTurn(float hw, float dx, float dy, float norm, float strength, float divisor) {
  float r = hw - (float)std::sqrt((double)(dx * dx + dy * dy));
  if (r < 0.0f) r = 0.0f;
  r = r * r / norm;
  float angle = strength * r / divisor;
  return {(float)std::cos((double)angle), (float)std::sin((double)angle)};
}

void TexTwirl(int from, int to, float strength, float divisor) {
  CopyLayer(TEX_SCRATCH, from);
  const uint8_t *s = LayerData(TEX_SCRATCH);
  uint8_t *d = LayerData(to);
  int32_t width = TexGen.Width, height = TexGen.Height;
  int32_t hw = width / 2, hh = height / 2;
  float fhw = (float)hw, fhh = (float)hh;
  float norm = (float)std::sqrt((double)(2.0f * (float)width * (float)height));
  WeightCache cache;
  ClearWeightCache(cache);
  // The rotation depends on dx^2 + dy^2 only, so the rows hh - k and hh + k
  // share one table of it by |dx|. Each pixel reads only the scratch copy,
  // so visiting the rows in pairs gives the same layer.
  Turn turn[TEX_MAX_SIDE / 2 + 1];
  for (int32_t k = 0; k <= hh; k++) {
    for (int32_t a = 0; a <= hw; a++) turn[a] = TwirlTurn(fhw, (float)a, (float)k, norm, strength, divisor);
    int32_t rows[2] = {hh - k, hh + k};
    int32_t rowCount = (k > 0 && hh + k < height) ? 2 : 1;
    for (int32_t n = 0; n < rowCount; n++) {
      int32_t y = rows[n];
      float dy = (float)(y - hh);
      uint8_t *out = d + (size_t)y * width * 3;
      for (int32_t x = 0; x < width; x++, out += 3) {
        int32_t dxi = x - hw;
        float dx = (float)dxi;
        Turn t = turn[dxi < 0 ? -dxi : dxi];
        float sx = fhw + dx * t.Cos - dy * t.Sin;
        float sy = fhh + dx * t.Sin + dy * t.Cos;
        SampleInto(s, sx, sy, out, &cache);
      }
    }
  }
}

void TexDisplace(int source, int map, int to, float kx, float ky) {
  const uint8_t *src = LayerData(source);
  const uint8_t *m = LayerData(map);
  uint8_t *scratch = LayerData(TEX_SCRATCH);
  int32_t width = TexGen.Width, height = TexGen.Height;
  WeightCache cache;
  ClearWeightCache(cache);
  for (int32_t y = 0; y < height; y++) {
    for (int32_t x = 0; x < width; x++) {
      size_t at = ((size_t)y * width + x) * 3;
      uint8_t v = m[at] > m[at + 1] ? m[at] : m[at + 1];
      if (m[at + 2] > v) v = m[at + 2];
      // The offsets and the coordinates are floats.
      float sx = (float)x + (float)v * kx;
      float sy = (float)y + (float)v * ky;
      SampleInto(src, sx, sy, scratch + at, &cache);
    }
  }
  CopyLayer(to, TEX_SCRATCH);
}
