// HWL decoder and encoder: stream unpacking, line synthesis, rounding,
// hand-built files, header rejection and encode/decode round trips.
// frosten-test-links: tooling
#include "scene/datafile.h"
#include "textures/hwl.h"
#include "tools/common/hwl_encode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

static const double S = 0.7071067811865476;

// Builds a file by hand: header fields, tables and per-plane symbol and
// magnitude lists, packed the way the format says.
struct HwlBuilder {
  HwlHeader Header;
  std::vector<double> Tables;
  std::vector<uint8_t> Symbols[3];
  std::vector<uint8_t> Magnitudes[3];
};

static HwlBuilder Builder(int w, int h, int bits, int levels, int valueBits) {
  HwlBuilder b = {};
  memcpy(b.Header.tag, "HWL", 3);
  b.Header.width = (uint16_t)w;
  b.Header.height = (uint16_t)h;
  b.Header.bitsPerPixel = (uint8_t)bits;
  b.Header.levels = (uint8_t)levels;
  b.Header.valueBits = (uint8_t)valueBits;
  b.Tables.assign((size_t)(bits == 24 ? 3 : 1) * (levels + 2), 1.0);
  return b;
}

static std::vector<uint8_t> PackSymbols(const std::vector<uint8_t> &symbols) {
  std::vector<uint8_t> out((symbols.size() + 3) / 4, 0);
  for (size_t i = 0; i < symbols.size(); i++) out[i / 4] |= (uint8_t)(symbols[i] << (2 * (i % 4)));
  return out;
}

static std::vector<uint8_t> PackMagnitudes(const std::vector<uint8_t> &values, int bits) {
  std::vector<uint8_t> out((values.size() * bits + 7) / 8, 0);
  for (size_t k = 0; k < values.size(); k++)
    for (int b = 0; b < bits; b++)
      if (values[k] >> b & 1) out[(k * bits + b) / 8] |= (uint8_t)(1 << ((k * bits + b) % 8));
  return out;
}

// Fills in the counts unless the test set them, then packs everything.
static std::vector<uint8_t> Build(HwlBuilder b, bool keepCounts = false) {
  int planes = b.Header.bitsPerPixel == 24 ? 3 : 1;
  if (!keepCounts)
    for (int p = 0; p < planes; p++) {
      b.Header.classCount[p] = (uint32_t)b.Symbols[p].size();
      b.Header.valueCount[p] = (uint32_t)b.Magnitudes[p].size();
    }
  std::vector<uint8_t> file(HWL_HEADER_SIZE);
  writeHwlHeader(b.Header, file.data());
  for (double g : b.Tables) {
    uint8_t bytes[8];
    memcpy(bytes, &g, 8);
    file.insert(file.end(), bytes, bytes + 8);
  }
  for (int p = 0; p < planes; p++) {
    std::vector<uint8_t> c = PackSymbols(b.Symbols[p]), v = PackMagnitudes(b.Magnitudes[p], b.Header.valueBits);
    file.insert(file.end(), c.begin(), c.end());
    file.insert(file.end(), v.begin(), v.end());
  }
  return file;
}

static HwlStatus Decode(const std::vector<uint8_t> &file, std::vector<uint8_t> &pixels, HwlHeader &header) {
  return decodeHwlMemory(pixels, header, file.data(), (int32_t)file.size());
}

static HwlStreams Streams(const std::vector<uint8_t> &symbols, const std::vector<uint8_t> &values, int bits) {
  HwlStreams s;
  s.Classes = PackSymbols(symbols);
  s.Values = PackMagnitudes(values, bits);
  s.ClassCount = (uint32_t)symbols.size();
  s.ValueCount = (uint32_t)values.size();
  s.ValueBits = bits;
  return s;
}

static double Psnr(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); i++) sum += (a[i] - b[i]) * (a[i] - b[i]);
  if (sum == 0) return 99;
  return 10 * std::log10(255.0 * 255.0 / (sum / a.size()));
}

// ---------------------------------------------------------------------------
// Streams

TEST(HwlStreams, RunsOf256ZerosAndSymbolsAfterThem) {
  HwlStreams s = Streams({1, 1, 1, 2, 3}, {255, 255, 255, 7, 9}, 8);
  std::vector<double> plane(1024, 99.0);
  rebuildHwlPlane(s, plane.data(), plane.size());
  for (int i = 0; i < 768; i++) ASSERT_EQ(plane[i], 0.0) << i;
  EXPECT_EQ(plane[768], 7.0);
  EXPECT_EQ(plane[769], -9.0);
  for (int i = 770; i < 1024; i++) ASSERT_EQ(plane[i], 0.0) << i;
}

TEST(HwlStreams, MagnitudeStraddlingAByteBoundary) {
  // A = 5: magnitude 1 takes bits 5-9, the high 3 bits of byte 0 and the low 2 of byte 1.
  HwlStreams s;
  s.Classes = PackSymbols({2, 3});
  s.Values = {(uint8_t)(22 | (25 & 7) << 5), (uint8_t)(25 >> 3)};
  s.ClassCount = 2;
  s.ValueCount = 2;
  s.ValueBits = 5;
  std::vector<double> plane(4);
  rebuildHwlPlane(s, plane.data(), plane.size());
  EXPECT_EQ(plane[0], 22.0);
  EXPECT_EQ(plane[1], -25.0);
  // Bits above A in the window are masked off.
  s.Values = {0xFF, 0xFF};
  rebuildHwlPlane(s, plane.data(), plane.size());
  EXPECT_EQ(plane[0], 31.0);
  EXPECT_EQ(plane[1], -31.0);
}

TEST(HwlStreams, PartialLastClassByteUsesOnlyItsLowSymbols) {
  for (uint32_t count : {5u, 6u, 7u}) {
    HwlStreams s;
    s.Classes = {0xAA, 0xAA};  // every symbol 2
    s.Values = std::vector<uint8_t>(8, 0xFF);
    s.ClassCount = count;
    s.ValueCount = 64;
    s.ValueBits = 1;
    std::vector<double> plane(16, 5.0);
    rebuildHwlPlane(s, plane.data(), plane.size());
    for (uint32_t i = 0; i < 16; i++) EXPECT_EQ(plane[i], i < count ? 1.0 : 0.0) << count << " " << i;
  }
}

TEST(HwlStreams, StopsWhenMagnitudesRunOutAndClipsRunsAtTheEnd) {
  HwlStreams s = Streams({2, 2, 2, 2}, {4, 5}, 3);
  std::vector<double> plane(6, 9.0);
  rebuildHwlPlane(s, plane.data(), plane.size());
  EXPECT_EQ(plane[0], 4.0);
  EXPECT_EQ(plane[1], 5.0);
  EXPECT_EQ(plane[2], 0.0);
  // A run longer than the rest of the plane stops at its end (ASan checks the bound).
  HwlStreams run = Streams({2, 1, 2}, {3, 255, 6}, 8);
  std::vector<double> small(10);
  rebuildHwlPlane(run, small.data(), small.size());
  EXPECT_EQ(small[0], 3.0);
  for (int i = 1; i < 10; i++) EXPECT_EQ(small[i], 0.0);
  // Declared counts larger than the bytes held are not followed.
  HwlStreams liar = Streams({2}, {7}, 8);
  liar.ClassCount = 1000;
  liar.ValueCount = 1000;
  rebuildHwlPlane(liar, small.data(), small.size());
  EXPECT_EQ(small[0], 7.0);
}

// ---------------------------------------------------------------------------
// Line synthesis and rounding

TEST(HwlSynthesis, RisingLineIsBlendedAtInteriorPositions) {
  double low[6] = {1, 2, 3, 4, 5, 6}, high[6] = {}, out[12];
  synthesiseHwlLine(low, high, 1, out, 1, 12);
  EXPECT_EQ(out[4], (double)((long double)S * (0.8L * 3 + 0.2L * 2)));
  EXPECT_EQ(out[5], (double)((long double)S * (0.8L * 3 + 0.2L * 4)));
  EXPECT_NEAR(out[4], S * 2.8, 1e-12);
  EXPECT_NEAR(out[5], S * 3.2, 1e-12);
  // The ends are plain Haar.
  EXPECT_EQ(out[0], S * 1);
  EXPECT_EQ(out[1], S * 1);
  EXPECT_EQ(out[10], S * 6);
  EXPECT_EQ(out[11], S * 6);
}

TEST(HwlSynthesis, FlatLinesAndSingleStepsAreDuplicated) {
  double a = 10, b = 50;
  double step[6] = {a, a, a, b, b, b}, flat[6] = {a, a, a, a, a, a}, high[6] = {}, out[12];
  synthesiseHwlLine(step, high, 1, out, 1, 12);
  for (int i = 0; i < 12; i++) EXPECT_EQ(out[i], S * step[i / 2]) << i;
  synthesiseHwlLine(flat, high, 1, out, 1, 12);
  for (int i = 0; i < 12; i++) EXPECT_EQ(out[i], S * a) << i;
}

TEST(HwlSynthesis, NonZeroDetailsAndShortLinesArePlainHaar) {
  double low[6] = {1, 2, 3, 4, 5, 6}, high[6] = {0, 0, 0.5, 0, 0, 0}, out[12];
  synthesiseHwlLine(low, high, 1, out, 1, 12);
  EXPECT_EQ(out[4], S * (3 + 0.5));
  EXPECT_EQ(out[5], S * (3 - 0.5));
  // A detail next to a zero one switches off the blend on that side only.
  EXPECT_EQ(out[6], S * 4);  // even sample of k = 3: Hp[2] != 0
  EXPECT_EQ(out[7], (double)((long double)S * (0.8L * 4 + 0.2L * 5)));
  double two[1] = {7}, twoHigh[1] = {0}, out2[2];
  synthesiseHwlLine(two, twoHigh, 1, out2, 1, 2);
  EXPECT_EQ(out2[0], S * 7);
  EXPECT_EQ(out2[1], S * 7);
  double four[2] = {1, 9}, fourHigh[2] = {}, out4[4];
  synthesiseHwlLine(four, fourHigh, 1, out4, 1, 4);
  EXPECT_EQ(out4[1], S * 1);
  EXPECT_EQ(out4[2], S * 9);
}

TEST(HwlSynthesis, AnalysisAndSynthesisInvertEachOtherOnRoughLines) {
  double line[16] = {3, 200, 17, 17, 90, 91, 0, 255, 40, 41, 42, 100, 7, 7, 250, 1}, low[8], high[8], out[16];
  analyseHwlLine(line, 1, low, high, 1, 16);
  synthesiseHwlLine(low, high, 1, out, 1, 16);
  for (int i = 0; i < 16; i++) EXPECT_NEAR(out[i], line[i], 1e-9) << i;
}

TEST(HwlSynthesis, BytesAreClampedAndRoundedHalfToEven) {
  EXPECT_EQ(hwlToByte(-3.0), 0);
  EXPECT_EQ(hwlToByte(0.0), 0);
  EXPECT_EQ(hwlToByte(255.0), 255);
  EXPECT_EQ(hwlToByte(1e300), 255);
  EXPECT_EQ(hwlToByte(2.5), 2);
  EXPECT_EQ(hwlToByte(3.5), 4);
  EXPECT_EQ(hwlToByte(254.5), 254);
  EXPECT_EQ(hwlToByte(0.5), 0);
  EXPECT_EQ(hwlToByte(1.4999), 1);
  EXPECT_EQ(hwlToByte(0.49999999999999994), 0);
  EXPECT_EQ(hwlToByte(0.5000000000000001), 1);
  EXPECT_EQ(hwlToByte(254.49999999999997), 254);
  EXPECT_EQ(hwlToByte(NAN), 0);
}

// ---------------------------------------------------------------------------
// Hand-built files

TEST(HwlFiles, ApproximationOnlyGreyFile) {
  // 4 x 4, one level: a 2 x 2 approximation band, each value covering a 2 x 2 block
  // of pixels at value * s * s.
  HwlBuilder b = Builder(4, 4, 8, 0, 8);
  b.Symbols[0] = {2, 2, 0, 0, 2, 2};
  b.Magnitudes[0] = {100, 40, 200, 10};
  std::vector<uint8_t> pixels;
  HwlHeader header;
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  ASSERT_EQ(pixels.size(), 16u);
  uint8_t expect[4] = {50, 20, 100, 5};
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 4; x++) EXPECT_EQ(pixels[y * 4 + x], expect[(y / 2) * 2 + x / 2]) << x << "," << y;
  EXPECT_EQ(header.width, 4);
  EXPECT_EQ(header.bitsPerPixel, 8);
}

TEST(HwlFiles, OnlyZeroSymbolsGiveBlack) {
  HwlBuilder b = Builder(8, 8, 8, 1, 8);
  b.Symbols[0].assign(64, 0);
  std::vector<uint8_t> pixels(64, 77);
  HwlHeader header;
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  for (uint8_t p : pixels) EXPECT_EQ(p, 0);
}

TEST(HwlFiles, ZeroTableEntryZeroesItsWholeBand) {
  // 2 x 2: approximation 100 and a large horizontal detail; table entry 0 drops the detail.
  HwlBuilder b = Builder(2, 2, 8, 0, 8);
  b.Symbols[0] = {2, 2, 3, 2};
  b.Magnitudes[0] = {100, 90, 80, 70};
  b.Tables = {0.0, 1.0};
  std::vector<uint8_t> pixels;
  HwlHeader header;
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  for (uint8_t p : pixels) EXPECT_EQ(p, 50);
  // With a zero approximation entry as well the picture is black.
  b.Tables = {1.0, 0.0};
  b.Magnitudes[0] = {100, 0, 0, 0};
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  for (uint8_t p : pixels) EXPECT_EQ(p, 0);
}

TEST(HwlFiles, DequantisationDividesByTheTableEntryAndClamps) {
  // Table 0.25: the approximation 100 becomes 400, so the pixels would be 200;
  // a detail of -255 at 0.5 sends one pixel below 0 and one above 255.
  HwlBuilder b = Builder(2, 2, 8, 0, 8);
  b.Symbols[0] = {2, 3};
  b.Magnitudes[0] = {100, 255};
  b.Tables = {0.5, 0.25};
  std::vector<uint8_t> pixels;
  HwlHeader header;
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  // Vertical pass, then horizontal: L = 400, H(top-right) = -510.
  EXPECT_EQ(pixels[0], hwlToByte(S * (S * 400 + S * -510)));
  EXPECT_EQ(pixels[0], 0);
  EXPECT_EQ(pixels[1], 255);
  EXPECT_EQ(pixels[2], 0);
  EXPECT_EQ(pixels[3], 255);
}

TEST(HwlFiles, ColourPlanesArePackedBlueGreenRedZero) {
  HwlBuilder b = Builder(2, 2, 24, 0, 8);
  b.Symbols[0] = b.Symbols[1] = b.Symbols[2] = {2};
  b.Magnitudes[0] = {200};  // red 100
  b.Magnitudes[1] = {100};  // green 50
  b.Magnitudes[2] = {20};   // blue 10
  std::vector<uint8_t> pixels;
  HwlHeader header;
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  ASSERT_EQ(pixels.size(), 16u);
  for (int i = 0; i < 4; i++) {
    uint32_t word;
    memcpy(&word, &pixels[4 * i], 4);
    EXPECT_EQ(word, 10u + 256u * 50u + 65536u * 100u);
    EXPECT_EQ(pixels[4 * i], 10);
    EXPECT_EQ(pixels[4 * i + 2], 100);
    EXPECT_EQ(pixels[4 * i + 3], 0);
  }
}

TEST(HwlFiles, ReadByNameThroughTheDataReader) {
  HwlBuilder b = Builder(4, 4, 8, 0, 8);
  b.Symbols[0] = {2};
  b.Magnitudes[0] = {60};
  std::vector<uint8_t> file = Build(b);
  std::string name = std::string(FROSTEN_BINARY_DIR) + "/test_hwl_file.hwl";
  FILE *f = fopen(name.c_str(), "wb");
  ASSERT_TRUE(f);
  fwrite(file.data(), 1, file.size(), f);
  fclose(f);
  HwlHeader header;
  EXPECT_EQ(readHwlHeader(name.c_str(), header), HWL_OK);
  EXPECT_EQ(header.classCount[0], 1u);
  std::vector<uint8_t> pixels;
  ASSERT_EQ(decodeHwl(pixels, header, name.c_str(), true), HWL_OK);
  EXPECT_EQ(pixels[0], 30);
  EXPECT_EQ(pixels[5], 30);
  EXPECT_EQ(pixels[10], 0);
  // Without allocation the caller's buffer is used, and refused when too small.
  std::vector<uint8_t> own(16, 9);
  EXPECT_EQ(decodeHwl(own, header, name.c_str(), false), HWL_OK);
  EXPECT_EQ(own[0], 30);
  std::vector<uint8_t> tooSmall(15, 9);
  EXPECT_EQ(decodeHwl(tooSmall, header, name.c_str(), false), HWL_BUFFER_TOO_SMALL);
  EXPECT_EQ(tooSmall, std::vector<uint8_t>(15, 9));
  remove(name.c_str());
}

// ---------------------------------------------------------------------------
// Header rejection

static HwlStatus DecodeModified(void (*change)(HwlBuilder &), std::vector<uint8_t> &pixels) {
  HwlBuilder b = Builder(8, 8, 8, 1, 8);
  b.Symbols[0] = {2, 1, 2};
  b.Magnitudes[0] = {200, 10, 30};
  change(b);
  std::vector<uint8_t> file = Build(b, b.Header.classCount[0] != 0);
  HwlHeader header;
  return Decode(file, pixels, header);
}

TEST(HwlHeaderChecks, BadFieldsAreRejectedWithoutPixels) {
  struct Case {
    void (*Change)(HwlBuilder &);
    HwlStatus Expect;
  } cases[] = {
      {[](HwlBuilder &) {}, HWL_OK},
      {[](HwlBuilder &b) { b.Header.width = 0; }, HWL_EMPTY_IMAGE},
      {[](HwlBuilder &b) { b.Header.height = 0; }, HWL_EMPTY_IMAGE},
      {[](HwlBuilder &b) { b.Header.width = 8196; }, HWL_IMAGE_TOO_LARGE},
      {[](HwlBuilder &b) { b.Header.height = 65532; }, HWL_IMAGE_TOO_LARGE},
      {[](HwlBuilder &b) { b.Header.levels = 17; }, HWL_TOO_MANY_LEVELS},
      {[](HwlBuilder &b) { b.Header.width = 10; }, HWL_SIDES_NOT_DIVISIBLE},
      {[](HwlBuilder &b) { b.Header.levels = 3; }, HWL_SIDES_NOT_DIVISIBLE},
      {[](HwlBuilder &b) { b.Header.bitsPerPixel = 16; }, HWL_UNSUPPORTED_DEPTH},
      {[](HwlBuilder &b) { b.Header.bitsPerPixel = 32; }, HWL_UNSUPPORTED_DEPTH},
      {[](HwlBuilder &b) { b.Header.valueBits = 9; }, HWL_BAD_VALUE_BITS},
      {[](HwlBuilder &b) { b.Header.classCount[0] = 0xFFFFFFFFu; }, HWL_SHORT_STREAMS},
      {[](HwlBuilder &b) { b.Header.classCount[0] = 3; b.Header.valueCount[0] = 4; }, HWL_SHORT_STREAMS},
      {[](HwlBuilder &b) { b.Header.bitsPerPixel = 24; }, HWL_SHORT_STREAMS},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> pixels(5, 42);
    HwlStatus status = DecodeModified(c.Change, pixels);
    EXPECT_EQ(status, c.Expect) << hwlStatusText(c.Expect);
    if (c.Expect != HWL_OK) {
      EXPECT_EQ(pixels, std::vector<uint8_t>(5, 42)) << hwlStatusText(c.Expect);
    }
    EXPECT_STRNE(hwlStatusText(status), "");
  }
}

TEST(HwlHeaderChecks, TruncatedFilesAreRejected) {
  HwlBuilder b = Builder(8, 8, 24, 1, 8);
  for (int p = 0; p < 3; p++) {
    b.Symbols[p] = {2, 2, 2, 2, 2};
    b.Magnitudes[p] = {1, 2, 3, 4, 5};
  }
  std::vector<uint8_t> file = Build(b), pixels;
  HwlHeader header;
  for (size_t length = 0; length < file.size(); length++) {
    HwlStatus status = decodeHwlMemory(pixels, header, file.data(), (int32_t)length);
    EXPECT_EQ(status, length < HWL_HEADER_SIZE ? HWL_SHORT_HEADER : HWL_SHORT_STREAMS) << length;
    EXPECT_TRUE(pixels.empty());
  }
  EXPECT_EQ(decodeHwlMemory(pixels, header, file.data(), (int32_t)file.size()), HWL_OK);
  // Bytes after the streams are allowed.
  file.push_back(0xEE);
  EXPECT_EQ(decodeHwlMemory(pixels, header, file.data(), (int32_t)file.size()), HWL_OK);
}

TEST(HwlHeaderChecks, LargestAcceptedSideIsDecoded) {
  HwlBuilder b = Builder(8192, 2, 8, 0, 8);
  b.Symbols[0] = {2};
  b.Magnitudes[0] = {20};
  std::vector<uint8_t> pixels;
  HwlHeader header;
  ASSERT_EQ(Decode(Build(b), pixels, header), HWL_OK);
  EXPECT_EQ(pixels.size(), 16384u);
  EXPECT_EQ(pixels[0], 10);
  EXPECT_EQ(pixels[8192 + 1], 10);
  EXPECT_EQ(pixels[2], 0);
}

// ---------------------------------------------------------------------------
// Encoder round trips

// A smooth picture with some edges and texture, made up on the spot.
static std::vector<uint8_t> TestPicture(int w, int h, int channels) {
  std::vector<uint8_t> p((size_t)w * h * channels);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      for (int c = 0; c < channels; c++) {
        double v = 128 + 60 * std::sin(x * 0.05 + c) + 40 * std::cos(y * 0.07 - c);
        if ((x / 16 + y / 24) % 3 == 0) v += 30;
        v += ((x * 7 + y * 13 + c * 5) % 11) - 5;
        p[((size_t)y * w + x) * channels + c] = (uint8_t)std::fmax(0, std::fmin(255, v));
      }
  return p;
}

static std::vector<uint8_t> Unpack(const std::vector<uint8_t> &decoded, int channels) {
  if (channels == 1) return decoded;
  std::vector<uint8_t> rgb(decoded.size() / 4 * 3);
  for (size_t i = 0; i < decoded.size() / 4; i++)
    for (int c = 0; c < 3; c++) rgb[3 * i + c] = decoded[4 * i + 2 - c];
  return rgb;
}

TEST(HwlEncoder, RoundTripsMeetQualityFloors) {
  struct Case {
    int Channels, Levels, Quality;
    double Floor;
  } cases[] = {{1, -1, 100, 45}, {1, 4, 75, 34}, {1, 2, 30, 28}, {3, -1, 90, 40}, {3, 3, 50, 32}, {3, 0, 5, 20}};
  for (const Case &c : cases) {
    std::vector<uint8_t> picture = TestPicture(128, 96, c.Channels), file, decoded;
    char error[256];
    ASSERT_TRUE(encodeHwl(picture.data(), 128, 96, c.Channels, {c.Levels, c.Quality}, file, error, sizeof error))
        << error;
    HwlHeader header;
    ASSERT_EQ(Decode(file, decoded, header), HWL_OK);
    EXPECT_EQ(header.bitsPerPixel, c.Channels == 1 ? 8 : 24);
    if (c.Levels >= 0) {
      EXPECT_EQ(header.levels, c.Levels);
    }
    double psnr = Psnr(picture, Unpack(decoded, c.Channels));
    EXPECT_GE(psnr, c.Floor) << "channels " << c.Channels << " quality " << c.Quality;
    if (c.Quality < 100) {
      EXPECT_LT(file.size(), picture.size()) << "quality " << c.Quality;
    }
  }
}

TEST(HwlEncoder, LowerQualityGivesSmallerFilesAndIsRepeatable) {
  std::vector<uint8_t> picture = TestPicture(64, 64, 3), previous, again;
  char error[256];
  for (int q : {95, 70, 40, 10}) {
    std::vector<uint8_t> file;
    ASSERT_TRUE(encodeHwl(picture.data(), 64, 64, 3, {-1, q}, file, error, sizeof error));
    if (!previous.empty()) {
      EXPECT_LT(file.size(), previous.size()) << q;
    }
    previous = file;
  }
  ASSERT_TRUE(encodeHwl(picture.data(), 64, 64, 3, {-1, 10}, again, error, sizeof error));
  EXPECT_EQ(again, previous);
}

TEST(HwlEncoder, ChannelsLandInTheirPlanes) {
  std::vector<uint8_t> picture(32 * 32 * 3), file, decoded;
  for (size_t i = 0; i < 32 * 32; i++) {
    picture[3 * i] = 200;
    picture[3 * i + 1] = 100;
    picture[3 * i + 2] = 30;
  }
  char error[256];
  ASSERT_TRUE(encodeHwl(picture.data(), 32, 32, 3, {-1, 90}, file, error, sizeof error));
  HwlHeader header;
  ASSERT_EQ(Decode(file, decoded, header), HWL_OK);
  for (size_t i = 0; i < 32 * 32; i++) {
    ASSERT_NEAR(decoded[4 * i + 2], 200, 1);
    ASSERT_NEAR(decoded[4 * i + 1], 100, 1);
    ASSERT_NEAR(decoded[4 * i], 30, 1);
  }
}

TEST(HwlEncoder, FlatAndExtremePicturesSurvive) {
  char error[256];
  for (uint8_t value : {0, 255, 128}) {
    std::vector<uint8_t> picture(16 * 16, value), file, decoded;
    ASSERT_TRUE(encodeHwl(picture.data(), 16, 16, 1, {-1, 50}, file, error, sizeof error));
    HwlHeader header;
    ASSERT_EQ(Decode(file, decoded, header), HWL_OK);
    EXPECT_EQ(decoded, picture) << (int)value;
  }
  // A checkerboard of 0 and 255 at full quality.
  std::vector<uint8_t> board(16 * 16), file, decoded;
  for (int i = 0; i < 256; i++) board[i] = ((i % 16 + i / 16) % 2) ? 255 : 0;
  ASSERT_TRUE(encodeHwl(board.data(), 16, 16, 1, {2, 100}, file, error, sizeof error));
  HwlHeader header;
  ASSERT_EQ(Decode(file, decoded, header), HWL_OK);
  EXPECT_GE(Psnr(board, decoded), 40);
}

TEST(HwlEncoder, GradientsRideOnTheDecodersSmoothing) {
  // A 64 x 64 ramp: with most details left to the decoder's blending it fits
  // in a few hundred bytes and still comes back within a grey level or so.
  std::vector<uint8_t> ramp(64 * 64), file, decoded;
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 64; x++) ramp[y * 64 + x] = (uint8_t)(x * 4 + y / 16);
  char error[256];
  ASSERT_TRUE(encodeHwl(ramp.data(), 64, 64, 1, {-1, 20}, file, error, sizeof error));
  HwlHeader header;
  ASSERT_EQ(Decode(file, decoded, header), HWL_OK);
  EXPECT_LT(file.size(), 400u);
  EXPECT_GE(Psnr(ramp, decoded), 40);
}

TEST(HwlEncoder, RefusesImagesTheFormatCannotHold) {
  std::vector<uint8_t> picture(64 * 64 * 3, 1), file;
  char error[256] = "";
  EXPECT_FALSE(encodeHwl(picture.data(), 63, 64, 1, {-1, 50}, file, error, sizeof error));
  EXPECT_NE(strstr(error, "even"), nullptr);
  EXPECT_FALSE(encodeHwl(picture.data(), 48, 64, 1, {4, 50}, file, error, sizeof error));
  EXPECT_NE(strstr(error, "multiples of 32"), nullptr);
  EXPECT_FALSE(encodeHwl(picture.data(), 64, 64, 2, {-1, 50}, file, error, sizeof error));
  EXPECT_FALSE(encodeHwl(picture.data(), 64, 64, 1, {-1, 0}, file, error, sizeof error));
  EXPECT_FALSE(encodeHwl(picture.data(), 64, 64, 1, {17, 50}, file, error, sizeof error));
  EXPECT_EQ(hwlDeepestLevels(48, 64, 5), 3);
  EXPECT_EQ(hwlDeepestLevels(70, 46, 5), 0);
  EXPECT_EQ(hwlDeepestLevels(1024, 1024, 5), 5);
}
