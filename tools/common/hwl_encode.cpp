// The HWL encoder. Every plane is analysed with the orthonormal Haar
// transform, so an error in any coefficient costs the same in the picture.
// The quality setting gives the exchange rate between squared error and
// bits; a coefficient is coded only when the error it saves is worth the
// bits it costs where it stands, and since every magnitude takes the full
// width, each band is quantised as finely as its largest magnitude allows.
// The magnitude width shared by all planes is the one with the least error
// plus weighted size. Last, every coefficient is revisited against the
// decoder's own synthesis, whose smoothing of gradients with zero details
// makes many small coefficients unnecessary.
#include "tools/common/hwl_encode.h"

#include "textures/hwl.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>

// One plane's coefficients and, for the chosen width, its code.
struct HwlPlaneCode {
  std::vector<double> Coefficients;  // W x H pyramid, row-major
  std::vector<std::vector<double>> Targets;  // the picture at each scale: W >> i x H >> i
  double Table[HWL_MAX_LEVELS + 2];
  double Factor[HWL_MAX_LEVELS + 2];  // 1 / Table, what the decoder multiplies by
  std::vector<int32_t> Quantised;
  std::vector<uint8_t> Symbols;  // one class symbol per byte
  std::vector<uint8_t> Values;   // one magnitude per byte
};

// Bits a zero saves against a coded magnitude beyond the value itself; the
// exchange rate between squared error and bits, per squared base step; the
// finest quantisation step; how often the smoothing pass visits each level.
static const double ZERO_EXTRA_BITS = 1.0;
static const double LAMBDA_PER_STEP2 = 0.1155;
static const double MIN_STEP = 0.5;
static const int REFINE_PASSES = 2;

int hwlDeepestLevels(int width, int height, int maxLevels) {
  int best = -1;
  for (int n = 0; n <= maxLevels && n <= HWL_MAX_LEVELS; n++) {
    int unit = 1 << (n + 1);
    if (width % unit == 0 && height % unit == 0 && width >= unit && height >= unit) best = n;
    else break;
  }
  return best;
}

void analyseHwlLine(const double *in, int step, double *low, double *high, int outStep, int m) {
  for (int k = 0; k < m / 2; k++) {
    double a = in[(size_t)(2 * k) * step], b = in[(size_t)(2 * k + 1) * step];
    low[(size_t)k * outStep] = HWL_S * (a + b);
    high[(size_t)k * outStep] = HWL_S * (a - b);
  }
}

// Rows first, then columns, on the top-left b x c block, level by level.
// Keeps the block each level starts from as that scale's target picture.
static void ForwardTransform(double *plane, int w, int h, int levels, std::vector<std::vector<double>> &targets) {
  std::vector<double> temp((size_t)w * h);
  targets.resize((size_t)levels + 1);
  for (int i = 0; i <= levels; i++) {
    int b = w >> i, c = h >> i;
    targets[i].resize((size_t)b * c);
    for (int y = 0; y < c; y++)
      for (int x = 0; x < b; x++) targets[i][(size_t)y * b + x] = plane[(size_t)y * w + x];
    for (int y = 0; y < c; y++) {
      double *t = temp.data() + (size_t)y * w;
      analyseHwlLine(plane + (size_t)y * w, 1, t, t + b / 2, 1, b);
    }
    for (int x = 0; x < b; x++)
      analyseHwlLine(temp.data() + x, w, plane + x, plane + (size_t)(c / 2) * w + x, w, c);
  }
}

// Level of each position: 0 ... n for the detail quadrants, n + 1 for the
// approximation band.
static std::vector<uint8_t> BandMap(int w, int h, int levels) {
  std::vector<uint8_t> map((size_t)w * h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      int level = levels + 1;
      for (int i = 0; i <= levels; i++)
        if (x >= (w >> (i + 1)) || y >= (h >> (i + 1))) {
          level = i;
          break;
        }
      map[(size_t)y * w + x] = (uint8_t)level;
    }
  return map;
}

// The step that sets the exchange rate: 1 at quality 100, 16 at 50, growing
// as 1/quality below.
static double BaseStep(int quality) {
  if (quality >= 50) return 1.0 + (100 - quality) * 0.3;
  return 16.0 * 50.0 / quality;
}

// Bits a run of r zeros costs: full runs of 2^A, the rest as a run or as
// single zero symbols, whichever is shorter.
static double ZeroRunBits(size_t r, int valueBits) {
  size_t maxRun = (size_t)1 << valueBits;
  double run = 2 + valueBits, rest = (double)(r % maxRun);
  return (double)(r / maxRun) * run + (rest > 0 ? std::min(2 * rest, run) : 0);
}

// Drops coded detail coefficients whose error saved is worth less than the
// bits they cost where they stand: the symbol, the magnitude and the break in
// the zero run around them. Zeros at the end of a plane are free. Returns the
// change in squared error.
static double PruneCoefficients(HwlPlaneCode &code, const std::vector<uint8_t> &bands, int levels,
                                const double *factor, int valueBits, double lambda) {
  std::vector<int32_t> &q = code.Quantised;
  size_t count = q.size();
  double added = 0, coded = 2 + valueBits;
  size_t previous = SIZE_MAX;  // last kept non-zero
  size_t i = 0;
  while (i < count && q[i] == 0) i++;
  while (i < count) {
    size_t next = i + 1;
    while (next < count && q[next] == 0) next++;
    if (bands[i] <= levels) {
      size_t before = previous == SIZE_MAX ? i : i - previous - 1;
      double bits;
      if (next == count) bits = ZeroRunBits(before, valueBits) + coded;
      else {
        size_t after = next - i - 1;
        bits = ZeroRunBits(before, valueBits) + ZeroRunBits(after, valueBits) + coded -
               ZeroRunBits(before + after + 1, valueBits);
      }
      double c = std::fabs(code.Coefficients[i]), kept = c - std::abs(q[i]) * factor[bands[i]];
      double gain = c * c - kept * kept;
      if (gain < lambda * bits) {
        q[i] = 0;
        added += gain;
        i = next;
        continue;
      }
    }
    previous = i;
    i = next;
  }
  return added;
}

// Chooses the table for the given magnitude width and quantises the plane.
// A coded magnitude costs its full width whatever its size, so each band's
// step is the finest whose largest magnitude fits the width; which
// coefficients are coded at all is decided by their squared size against the
// bits a zero saves. Returns the squared error left in the coefficients.
static double QuantisePlane(HwlPlaneCode &code, const std::vector<uint8_t> &bands, int levels, int valueBits,
                            double lambda) {
  double largest[HWL_MAX_LEVELS + 2] = {};
  size_t count = code.Coefficients.size();
  for (size_t i = 0; i < count; i++) {
    double a = std::fabs(code.Coefficients[i]);
    if (a > largest[bands[i]]) largest[bands[i]] = a;
  }
  double maxMagnitude = (double)((1 << valueBits) - 1);
  double zeroBelow = std::sqrt(lambda * (valueBits + ZERO_EXTRA_BITS));
  double factor[HWL_MAX_LEVELS + 2];
  for (int i = 0; i <= levels + 1; i++) {
    double s = largest[i] > 0 ? largest[i] / maxMagnitude * (1 + 1e-12) : 1.0;
    if (s < MIN_STEP) s = MIN_STEP;
    code.Table[i] = 1.0 / s;
    factor[i] = code.Factor[i] = 1.0 / code.Table[i];
  }
  code.Quantised.assign(count, 0);
  double error = 0;
  for (size_t i = 0; i < count; i++) {
    double c = code.Coefficients[i], a = std::fabs(c);
    int band = bands[i];
    int32_t q = 0;
    if (band > levels || a >= zeroBelow) {
      double r = std::floor(a / factor[band] + 0.5);
      if (r < 1 && band <= levels) r = 1;
      if (r > maxMagnitude) r = maxMagnitude;
      q = (int32_t)r;
    }
    double d = a - q * factor[band];
    error += d * d;
    code.Quantised[i] = c < 0 ? -q : q;
  }
  return error + PruneCoefficients(code, bands, levels, factor, valueBits, lambda);
}

// Builds the symbol and magnitude streams of a quantised plane; returns their
// size in bits. Zeros after the last non-zero coefficient need no symbols.
static uint64_t BuildStreams(HwlPlaneCode &code, int valueBits) {
  code.Symbols.clear();
  code.Values.clear();
  const std::vector<int32_t> &q = code.Quantised;
  size_t end = q.size();
  while (end > 0 && q[end - 1] == 0) end--;
  size_t maxRun = (size_t)1 << valueBits;
  size_t i = 0;
  while (i < end) {
    if (q[i] != 0) {
      code.Symbols.push_back(q[i] > 0 ? 2 : 3);
      code.Values.push_back((uint8_t)std::abs(q[i]));
      i++;
      continue;
    }
    size_t run = 0;
    while (i + run < end && q[i + run] == 0) run++;
    i += run;
    while (run > 0) {
      size_t chunk = run < maxRun ? run : maxRun;
      if (2 * chunk <= (size_t)(2 + valueBits)) {
        code.Symbols.insert(code.Symbols.end(), chunk, 0);
      } else {
        code.Symbols.push_back(1);
        code.Values.push_back((uint8_t)(chunk - 1));
      }
      run -= chunk;
    }
  }
  return 2 * (uint64_t)code.Symbols.size() + (uint64_t)valueBits * code.Values.size();
}

// Bits that coding position i (rather than leaving it zero) costs, given the
// coded positions around it in the scan (held in coded, i itself excluded).
static double CodingBits(const std::set<size_t> &coded, size_t i, int valueBits) {
  auto next = coded.upper_bound(i);
  size_t before = next == coded.begin() ? i : i - *std::prev(next) - 1;
  double bits = 2 + valueBits;
  if (next == coded.end()) return ZeroRunBits(before, valueBits) + bits;  // trailing zeros are free
  size_t after = *next - i - 1;
  return ZeroRunBits(before, valueBits) + ZeroRunBits(after, valueBits) + bits -
         ZeroRunBits(before + after + 1, valueBits);
}

// The decoder's synthesis step on a b x c block, as in the decoder, or on
// the part of it that one coefficient reaches.
struct HwlStepWork {
  double *Plane;   // coefficients with the coarser reconstruction in the top-left
  double *Temp;    // after the vertical pass
  double *Output;  // after the horizontal pass
  int W, B, C;
};

static void VerticalPairs(const HwlStepWork &s, int x, int k0, int k1) {
  int half = s.C / 2;
  for (int k = std::max(k0, 0); k <= std::min(k1, half - 1); k++)
    synthesiseHwlPair(s.Plane + x, s.Plane + (size_t)half * s.W + x, (size_t)s.W, k, s.C,
                      s.Temp[(size_t)(2 * k) * s.W + x], s.Temp[(size_t)(2 * k + 1) * s.W + x]);
}

static void HorizontalPairs(const HwlStepWork &s, int y, int j0, int j1) {
  const double *row = s.Temp + (size_t)y * s.W;
  double *out = s.Output + (size_t)y * s.W;
  for (int j = std::max(j0, 0); j <= std::min(j1, s.B / 2 - 1); j++)
    synthesiseHwlPair(row, row + s.B / 2, 1, j, s.B, out[2 * j], out[2 * j + 1]);
}

static double WindowError(const HwlStepWork &s, const std::vector<double> &target, int y0, int y1, int x0, int x1) {
  double e = 0;
  for (int y = y0; y <= y1; y++)
    for (int x = x0; x <= x1; x++) {
      double d = s.Output[(size_t)y * s.W + x] - target[(size_t)y * s.B + x];
      e += d * d;
    }
  return e;
}

// Tries another value for the detail coefficient at (x, y) of the block and
// keeps it when the error left in the block, smoothing included, plus the
// weighted change in bits is lower.
static bool TryCoefficient(const HwlStepWork &s, const std::vector<double> &target, int x, int y, double value,
                           double bitsChange, double lambda) {
  int halfB = s.B / 2, halfC = s.C / 2;
  bool lowRow = y < halfC, lowColumn = x < halfB;
  int k = lowRow ? y : y - halfC, reachK = lowRow ? 2 : 1;
  int j = lowColumn ? x : x - halfB, reachJ = lowColumn ? 2 : 1;
  int k0 = std::max(k - reachK, 0), k1 = std::min(k + reachK, halfC - 1);
  int j0 = std::max(j - reachJ, 0), j1 = std::min(j + reachJ, halfB - 1);
  int y0 = 2 * k0, y1 = 2 * k1 + 1, x0 = 2 * j0, x1 = 2 * j1 + 1;
  // The coefficient changes column x of temp rows y0 .. y1, and those rows'
  // output pairs j0 .. j1 read it.
  double savedTemp[10], savedOut[10 * 10];
  for (int r = y0; r <= y1; r++) savedTemp[r - y0] = s.Temp[(size_t)r * s.W + x];
  for (int r = y0; r <= y1; r++)
    for (int c = x0; c <= x1; c++) savedOut[(r - y0) * 10 + (c - x0)] = s.Output[(size_t)r * s.W + c];
  double before = WindowError(s, target, y0, y1, x0, x1);
  double &coefficient = s.Plane[(size_t)y * s.W + x], old = coefficient;
  coefficient = value;
  VerticalPairs(s, x, k0, k1);
  for (int r = y0; r <= y1; r++) HorizontalPairs(s, r, j0, j1);
  double after = WindowError(s, target, y0, y1, x0, x1);
  if (after - before + lambda * bitsChange < 0) return true;
  coefficient = old;
  for (int r = y0; r <= y1; r++) s.Temp[(size_t)r * s.W + x] = savedTemp[r - y0];
  for (int r = y0; r <= y1; r++)
    for (int c = x0; c <= x1; c++) s.Output[(size_t)r * s.W + c] = savedOut[(r - y0) * 10 + (c - x0)];
  return false;
}

// A coded magnitude costs the same bits whatever its size: moves it by one
// step when that leaves less error.
static void NudgeMagnitude(const HwlStepWork &s, const std::vector<double> &target, int x, int y, int32_t &q,
                           double factor, double maxMagnitude) {
  if (q == 0) return;
  for (int32_t other : {q + 1, q - 1})
    if (other != 0 && std::abs(other) <= maxMagnitude && TryCoefficient(s, target, x, y, other * factor, 0, 0)) {
      q = other;
      return;
    }
}

// Runs the decoder's synthesis level by level and revisits every detail
// coefficient with the reconstruction in view: on a gradient whose details
// are zero the decoder blends neighbouring samples, so a small coefficient
// there may be dropped for less error than its size suggests, and next to
// an edge the blend may need a coefficient to stop it.
static void RefineForSmoothing(HwlPlaneCode &code, int w, int h, int levels, int valueBits, double lambda) {
  size_t count = (size_t)w * h;
  std::vector<double> plane(count), temp(count), output(count);
  std::vector<uint8_t> bands = BandMap(w, h, levels);
  for (size_t i = 0; i < count; i++) plane[i] = code.Quantised[i] * code.Factor[bands[i]];
  double maxMagnitude = (double)((1 << valueBits) - 1);
  std::set<size_t> coded;
  for (size_t i = 0; i < count; i++)
    if (code.Quantised[i] != 0) coded.insert(coded.end(), i);
  for (int i = levels; i >= 0; i--) {
    HwlStepWork s = {plane.data(), temp.data(), output.data(), w, w >> i, h >> i};
    const std::vector<double> &target = code.Targets[i];
    for (int x = 0; x < s.B; x++) VerticalPairs(s, x, 0, s.C / 2 - 1);
    for (int y = 0; y < s.C; y++) HorizontalPairs(s, y, 0, s.B / 2 - 1);
    double f = code.Factor[i];
    for (int pass = 0; pass < REFINE_PASSES; pass++)
      for (int y = 0; y < s.C; y++)
        for (int x = 0; x < s.B; x++) {
          size_t at = (size_t)y * w + x;
          if (x < s.B / 2 && y < s.C / 2) {  // the coarser reconstruction, or at the top the approximation band
            if (i == levels) NudgeMagnitude(s, target, x, y, code.Quantised[at], code.Factor[levels + 1], maxMagnitude);
            continue;
          }
          double c = code.Coefficients[at];
          int32_t &q = code.Quantised[at];
          if (q == 0) {
            double r = std::floor(std::fabs(c) / f + 0.5);
            if (r < 1) continue;
            int32_t candidate = (int32_t)std::min(r, maxMagnitude) * (c < 0 ? -1 : 1);
            if (TryCoefficient(s, target, x, y, candidate * f, CodingBits(coded, at, valueBits), lambda)) {
              q = candidate;
              coded.insert(at);
            }
          } else {
            coded.erase(at);
            if (TryCoefficient(s, target, x, y, 0.0, -CodingBits(coded, at, valueBits), lambda)) {
              q = 0;
              continue;
            }
            coded.insert(at);
            NudgeMagnitude(s, target, x, y, q, f, maxMagnitude);
          }
        }
    for (int y = 0; y < s.C; y++)
      for (int x = 0; x < s.B; x++) plane[(size_t)y * w + x] = output[(size_t)y * w + x];
  }
}

static void AppendDouble(std::vector<uint8_t> &out, double v) {
  uint64_t bits;
  memcpy(&bits, &v, 8);
  for (int i = 0; i < 8; i++) out.push_back((uint8_t)(bits >> (8 * i)));
}

static void AppendStreams(std::vector<uint8_t> &out, const HwlPlaneCode &code, int valueBits) {
  size_t start = out.size();
  out.resize(start + (code.Symbols.size() + 3) / 4, 0);
  for (size_t s = 0; s < code.Symbols.size(); s++) out[start + s / 4] |= (uint8_t)(code.Symbols[s] << ((s % 4) * 2));
  start = out.size();
  out.resize(start + (code.Values.size() * valueBits + 7) / 8, 0);
  for (size_t k = 0; k < code.Values.size(); k++)
    for (int b = 0; b < valueBits; b++)
      if (code.Values[k] >> b & 1) {
        size_t bit = k * valueBits + b;
        out[start + bit / 8] |= (uint8_t)(1 << (bit % 8));
      }
}

static bool Fail(char *error, int errorSize, const char *text) {
  snprintf(error, (size_t)errorSize, "%s", text);
  return false;
}

bool encodeHwl(const uint8_t *pixels, int width, int height, int channels, const HwlEncodeSettings &settings,
               std::vector<uint8_t> &file, char *error, int errorSize) {
  if (channels != 1 && channels != 3) return Fail(error, errorSize, "only grey and RGB images can be encoded");
  if (width <= 0 || height <= 0 || width > HWL_MAX_SIDE || height > HWL_MAX_SIDE)
    return Fail(error, errorSize, "image width and height must be 1 ... 8192");
  if (settings.Quality < 1 || settings.Quality > 100) return Fail(error, errorSize, "quality must be 1 ... 100");
  int levels = settings.Levels;
  if (levels < 0) {
    levels = hwlDeepestLevels(width, height, HWL_DEFAULT_MAX_LEVELS);
    if (levels < 0) return Fail(error, errorSize, "image width and height must be even");
  }
  if (levels > HWL_MAX_LEVELS) return Fail(error, errorSize, "levels must be 0 ... 16");
  int unit = 1 << (levels + 1);
  if (width % unit != 0 || height % unit != 0) {
    snprintf(error, (size_t)errorSize, "width and height must be multiples of %d for %d levels", unit, levels);
    return false;
  }

  size_t count = (size_t)width * height;
  std::vector<HwlPlaneCode> planes((size_t)channels);
  for (int p = 0; p < channels; p++) {
    planes[p].Coefficients.resize(count);
    for (size_t i = 0; i < count; i++) planes[p].Coefficients[i] = pixels[i * channels + p];
    ForwardTransform(planes[p].Coefficients.data(), width, height, levels, planes[p].Targets);
  }
  std::vector<uint8_t> bands = BandMap(width, height, levels);

  // The magnitude width with the least error plus weighted size.
  double step = BaseStep(settings.Quality), lambda = LAMBDA_PER_STEP2 * step * step;
  int bestBits = HWL_MAX_VALUE_BITS;
  double bestCost = INFINITY;
  for (int bits = 1; bits <= HWL_MAX_VALUE_BITS; bits++) {
    double cost = 0;
    for (HwlPlaneCode &code : planes) {
      cost += QuantisePlane(code, bands, levels, bits, lambda);
      cost += lambda * (double)BuildStreams(code, bits);
    }
    if (cost < bestCost) {
      bestCost = cost;
      bestBits = bits;
    }
  }
  for (HwlPlaneCode &code : planes) {
    QuantisePlane(code, bands, levels, bestBits, lambda);
    RefineForSmoothing(code, width, height, levels, bestBits, lambda);
    BuildStreams(code, bestBits);
  }

  HwlHeader header = {};
  memcpy(header.tag, "HWL", 3);
  header.width = (uint16_t)width;
  header.height = (uint16_t)height;
  header.bitsPerPixel = channels == 1 ? 8 : 24;
  header.levels = (uint8_t)levels;
  header.valueBits = (uint8_t)bestBits;
  for (int p = 0; p < channels; p++) {
    header.classCount[p] = (uint32_t)planes[p].Symbols.size();
    header.valueCount[p] = (uint32_t)planes[p].Values.size();
  }
  file.assign(HWL_HEADER_SIZE, 0);
  writeHwlHeader(header, file.data());
  for (const HwlPlaneCode &code : planes)
    for (int i = 0; i <= levels + 1; i++) AppendDouble(file, code.Table[i]);
  for (const HwlPlaneCode &code : planes) AppendStreams(file, code, bestBits);
  return true;
}
