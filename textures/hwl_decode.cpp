// The HWL decoder: unpacks the class and value streams into the coefficient
// plane, dequantises it per level, runs the inverse Haar transform from the
// coarsest level to the finest and rounds the result to bytes.
#include "textures/hwl.h"

#include "scene/datafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

const char *hwlStatusText(HwlStatus status) {
  switch (status) {
    case HWL_OK: return "decoded";
    case HWL_SHORT_HEADER: return "file is shorter than the 34-byte HWL header";
    case HWL_UNSUPPORTED_DEPTH: return "unsupported bits per pixel (only 8 and 24 are decoded)";
    case HWL_EMPTY_IMAGE: return "image width or height is 0";
    case HWL_IMAGE_TOO_LARGE: return "image width or height exceeds 8192";
    case HWL_TOO_MANY_LEVELS: return "more than 16 wavelet levels";
    case HWL_SIDES_NOT_DIVISIBLE: return "width and height are not divisible by 2^(levels+1)";
    case HWL_BAD_VALUE_BITS: return "value width exceeds 8 bits";
    case HWL_SHORT_STREAMS: return "file is shorter than its declared tables and streams";
    case HWL_BUFFER_TOO_SMALL: return "pixel buffer too small for the image";
  }
  return "unknown HWL status";
}

int hwlPlaneCount(const HwlHeader &header) {
  if (header.bitsPerPixel == 8) return 1;
  if (header.bitsPerPixel == 24) return 3;
  return 0;
}

uint64_t hwlPixelBytes(const HwlHeader &header) {
  uint64_t pixels = (uint64_t)header.width * header.height;
  return header.bitsPerPixel == 24 ? 4 * pixels : pixels;
}

uint64_t hwlRequiredBytes(const HwlHeader &header) {
  int planes = hwlPlaneCount(header);
  uint64_t bytes = HWL_HEADER_SIZE + (uint64_t)planes * (header.levels + 2) * 8;
  for (int p = 0; p < planes; p++) {
    bytes += ((uint64_t)header.classCount[p] + 3) / 4;
    bytes += ((uint64_t)header.valueCount[p] * header.valueBits + 7) / 8;
  }
  return bytes;
}

static uint32_t Read32(const uint8_t *b) {
  return (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
}

static void Write32(uint8_t *b, uint32_t v) {
  for (int i = 0; i < 4; i++) b[i] = (uint8_t)(v >> (8 * i));
}

void parseHwlHeader(const uint8_t bytes[HWL_HEADER_SIZE], HwlHeader &header) {
  memcpy(header.tag, bytes, 3);
  header.width = (uint16_t)(bytes[3] | bytes[4] << 8);
  header.height = (uint16_t)(bytes[5] | bytes[6] << 8);
  header.bitsPerPixel = bytes[7];
  header.levels = bytes[8];
  for (int p = 0; p < 3; p++) {
    header.classCount[p] = Read32(bytes + 9 + 4 * p);
    header.valueCount[p] = Read32(bytes + 21 + 4 * p);
  }
  header.valueBits = bytes[33];
}

void writeHwlHeader(const HwlHeader &header, uint8_t bytes[HWL_HEADER_SIZE]) {
  memcpy(bytes, header.tag, 3);
  bytes[3] = (uint8_t)header.width;
  bytes[4] = (uint8_t)(header.width >> 8);
  bytes[5] = (uint8_t)header.height;
  bytes[6] = (uint8_t)(header.height >> 8);
  bytes[7] = header.bitsPerPixel;
  bytes[8] = header.levels;
  for (int p = 0; p < 3; p++) {
    Write32(bytes + 9 + 4 * p, header.classCount[p]);
    Write32(bytes + 21 + 4 * p, header.valueCount[p]);
  }
  bytes[33] = header.valueBits;
}

HwlStatus checkHwlHeader(const HwlHeader &header, uint64_t fileLength) {
  if (fileLength < HWL_HEADER_SIZE) return HWL_SHORT_HEADER;
  if (hwlPlaneCount(header) == 0) return HWL_UNSUPPORTED_DEPTH;
  if (header.width == 0 || header.height == 0) return HWL_EMPTY_IMAGE;
  if (header.width > HWL_MAX_SIDE || header.height > HWL_MAX_SIDE) return HWL_IMAGE_TOO_LARGE;
  if (header.levels > HWL_MAX_LEVELS) return HWL_TOO_MANY_LEVELS;
  uint32_t unit = 1u << (header.levels + 1);
  if (header.width % unit != 0 || header.height % unit != 0) return HWL_SIDES_NOT_DIVISIBLE;
  if (header.valueBits > HWL_MAX_VALUE_BITS) return HWL_BAD_VALUE_BITS;
  if (hwlRequiredBytes(header) > fileLength) return HWL_SHORT_STREAMS;
  return HWL_OK;
}

// Reads and checks the header of a data file opened at its first byte.
static HwlStatus ReadCheckedHeader(DataFile &file, HwlHeader &header) {
  uint64_t length = (uint64_t)(file.Size - file.Position);
  uint8_t bytes[HWL_HEADER_SIZE];
  ReadData(file, bytes, HWL_HEADER_SIZE);
  parseHwlHeader(bytes, header);
  return checkHwlHeader(header, length);
}

HwlStatus readHwlHeader(const char *fileName, HwlHeader &header) {
  DataFile file;
  OpenDataFile(file, fileName);
  HwlStatus status = ReadCheckedHeader(file, header);
  CloseDataFile(file);
  return status;
}

// Magnitude k: bits k*A ... k*A + A - 1 of the stream, least significant first.
static inline uint8_t Magnitude(const HwlStreams &streams, uint32_t k) {
  uint64_t bit = (uint64_t)k * streams.ValueBits;
  size_t at = (size_t)(bit >> 3), size = streams.Values.size();
  unsigned window = (at < size ? streams.Values[at] : 0u) | (at + 1 < size ? streams.Values[at + 1] : 0u) << 8;
  return (uint8_t)((window >> (bit & 7)) & ((1u << streams.ValueBits) - 1));
}

void rebuildHwlPlane(const HwlStreams &streams, double *plane, uint64_t count) {
  for (uint64_t i = 0; i < count; i++) plane[i] = 0;
  uint64_t symbols = std::min<uint64_t>(streams.ClassCount, 4 * (uint64_t)streams.Classes.size());
  uint64_t pos = 0;
  uint32_t m = 0;
  for (uint64_t s = 0; s < symbols && pos < count; s++) {
    int symbol = (streams.Classes[s >> 2] >> ((s & 3) * 2)) & 3;
    if (symbol == 0) {
      pos++;
      continue;
    }
    if (m >= streams.ValueCount) break;
    uint32_t v = Magnitude(streams, m++);
    if (symbol == 1) pos += std::min<uint64_t>(v + 1, count - pos);
    else plane[pos++] = symbol == 2 ? (double)v : -(double)v;
  }
}

static double Factor(double g) { return g == 0 ? 0.0 : 1.0 / g; }

static void Dequantise(double *plane, int w, int h, int levels, const double *table) {
  for (int i = 0; i <= levels; i++) {
    double f = Factor(table[i]);
    int bw = w >> i, bh = h >> i, qw = w >> (i + 1), qh = h >> (i + 1);
    for (int y = 0; y < bh; y++) {
      double *row = plane + (size_t)y * w;
      for (int x = y < qh ? qw : 0; x < bw; x++) row[x] *= f;
    }
  }
  double f = Factor(table[levels + 1]);
  int aw = w >> (levels + 1), ah = h >> (levels + 1);
  for (int y = 0; y < ah; y++)
    for (int x = 0; x < aw; x++) plane[(size_t)y * w + x] *= f;
}

static inline double Blend(double a, double b) {
  return (double)((long double)HWL_S * (0.8L * a + 0.2L * b));
}

// Output pair k of a line: L and H point at sample 0 of the low- and
// high-pass lines, st is the distance between samples.
static inline void SynthesisePair(const double *L, const double *H, size_t st, int k, int half, int m, double &even,
                                  double &odd) {
  double l = L[k * st], h = H[k * st];
  if (h != 0 || k == 0 || k == half - 1 || m < 4) {
    even = HWL_S * (l + h);
    odd = HWL_S * (l - h);
    return;
  }
  double prev = L[(k - 1) * st], next = L[(k + 1) * st];
  if (H[(k - 1) * st] == 0 && l != next && (k == half - 2 || next != L[(k + 2) * st])) even = Blend(l, prev);
  else even = HWL_S * l;
  if (H[(k + 1) * st] == 0 && l != prev && (k == 1 || prev != L[(k - 2) * st])) odd = Blend(l, next);
  else odd = HWL_S * l;
}

void synthesiseHwlPair(const double *low, const double *high, size_t step, int k, int m, double &even, double &odd) {
  SynthesisePair(low, high, step, k, m / 2, m, even, odd);
}

void synthesiseHwlLine(const double *low, const double *high, int step, double *out, int outStep, int m) {
  int half = m / 2;
  for (int k = 0; k < half; k++)
    SynthesisePair(low, high, (size_t)step, k, half, m, out[(size_t)(2 * k) * outStep],
                   out[(size_t)(2 * k + 1) * outStep]);
}

// One synthesis step on the top-left b x c block of the w-wide plane. The
// vertical pass walks the block row pair by row pair so that it reads and
// writes whole rows; every column is still synthesised on its own.
static void SynthesiseBlock(double *plane, double *temp, int w, int b, int c) {
  int halfC = c / 2, halfB = b / 2;
  for (int k = 0; k < halfC; k++) {
    double *even = temp + (size_t)(2 * k) * w, *odd = even + w;
    for (int x = 0; x < b; x++)
      SynthesisePair(plane + x, plane + (size_t)halfC * w + x, (size_t)w, k, halfC, c, even[x], odd[x]);
  }
  for (int y = 0; y < c; y++) {
    const double *row = temp + (size_t)y * w;
    synthesiseHwlLine(row, row + halfB, 1, plane + (size_t)y * w, 1, b);
  }
}

static void InverseTransform(double *plane, double *temp, int w, int h, int levels) {
  for (int i = levels; i >= 0; i--) SynthesiseBlock(plane, temp, w, w >> i, h >> i);
}

uint8_t hwlToByte(double v) {
  if (!(v > 0)) return 0;  // also NaN from a damaged table
  if (v >= 255) return 255;
  return (uint8_t)std::nearbyint(v);  // the default rounding: halfway to even
}

static void ReadStreams(DataFile &file, const HwlHeader &header, int p, HwlStreams &streams) {
  streams.ClassCount = header.classCount[p];
  streams.ValueCount = header.valueCount[p];
  streams.ValueBits = header.valueBits;
  size_t classBytes = ((size_t)streams.ClassCount + 3) / 4;
  size_t valueBytes = ((size_t)streams.ValueCount * streams.ValueBits + 7) / 8;
  streams.Classes.assign(classBytes, 0);
  streams.Values.assign(valueBytes, 0);
  ReadData(file, streams.Classes.data(), (int32_t)classBytes);
  ReadData(file, streams.Values.data(), (int32_t)valueBytes);
}

HwlStatus decodeHwlData(DataFile &file, std::vector<uint8_t> &pixels, HwlHeader &header, bool allocate) {
  HwlStatus status = ReadCheckedHeader(file, header);
  if (status != HWL_OK) return status;
  uint64_t outBytes = hwlPixelBytes(header);
  if (!allocate && pixels.size() < outBytes) return HWL_BUFFER_TOO_SMALL;

  int planes = hwlPlaneCount(header), n = header.levels, w = header.width, h = header.height;
  std::vector<double> tables((size_t)planes * (n + 2));
  for (double &g : tables) {
    uint8_t b[8];
    ReadData(file, b, 8);
    uint64_t bits = (uint64_t)Read32(b) | (uint64_t)Read32(b + 4) << 32;
    memcpy(&g, &bits, 8);
  }
  HwlStreams streams[3];
  for (int p = 0; p < planes; p++) ReadStreams(file, header, p, streams[p]);

  if (allocate) pixels.resize(outBytes);  // every byte is written below
  size_t count = (size_t)w * h;
  std::unique_ptr<double[]> plane(new double[count]), temp(new double[count]);
  for (int p = 0; p < planes; p++) {
    rebuildHwlPlane(streams[p], plane.get(), count);
    Dequantise(plane.get(), w, h, n, tables.data() + (size_t)p * (n + 2));
    InverseTransform(plane.get(), temp.get(), w, h, n);
    if (planes == 1) {
      for (size_t i = 0; i < count; i++) pixels[i] = hwlToByte(plane[i]);
    } else {
      uint8_t *out = pixels.data() + (2 - p);  // word c2 + 256 c1 + 65536 c0
      for (size_t i = 0; i < count; i++) out[4 * i] = hwlToByte(plane[i]);
      if (p == 0)
        for (size_t i = 0; i < count; i++) pixels[4 * i + 3] = 0;
    }
  }
  return HWL_OK;
}

HwlStatus decodeHwl(std::vector<uint8_t> &pixels, HwlHeader &header, const char *fileName, bool allocate) {
  HwlStatus status = readHwlHeader(fileName, header);
  if (status != HWL_OK) return status;
  DataFile file;
  OpenDataFile(file, fileName);
  status = decodeHwlData(file, pixels, header, allocate);
  CloseDataFile(file);
  return status;
}

HwlStatus decodeHwlMemory(std::vector<uint8_t> &pixels, HwlHeader &header, const void *bytes, int32_t length) {
  DataFile file;
  OpenDataMemory(file, bytes, length);
  HwlStatus status = decodeHwlData(file, pixels, header, true);
  CloseDataFile(file);
  return status;
}
