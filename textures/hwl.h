// The HWL image format: a multi-level 2-D Haar wavelet decomposition per
// plane, quantised per level and coded as 2-bit class symbols plus
// bit-packed magnitudes. One 8-bit grey plane or three colour planes.
//
// File: a 34-byte header, the quantisation tables (levels + 2 doubles per
// plane), then per plane the class stream and the value stream. All numbers
// are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DataFile;

enum {
  HWL_HEADER_SIZE = 34,
  HWL_MAX_LEVELS = 16,
  HWL_MAX_SIDE = 8192,
  HWL_MAX_VALUE_BITS = 8
};

// 1 / sqrt(2): the scale of the orthonormal Haar step, shared by the decoder
// and the encoder.
constexpr double HWL_S = 0.7071067811865476;

struct HwlHeader {
  uint8_t tag[3];  // not interpreted; our encoder writes "HWL"
  uint16_t width;
  uint16_t height;
  uint8_t bitsPerPixel;  // 8: one grey plane, 24: three colour planes
  uint8_t levels;        // n: n + 1 detail levels and one approximation band
  uint32_t classCount[3];
  uint32_t valueCount[3];
  uint8_t valueBits;  // width of every packed magnitude, 0 ... 8
};

// One plane's streams as read from a file: ClassCount 2-bit symbols, four
// to a byte from bit 0 up; ValueCount magnitudes of ValueBits bits each,
// packed least significant bit first.
struct HwlStreams {
  std::vector<uint8_t> Classes;
  std::vector<uint8_t> Values;
  uint32_t ClassCount;
  uint32_t ValueCount;
  int ValueBits;
};

// What a header check or a decode found. Everything but HWL_OK means that no
// pixels were written.
enum HwlStatus {
  HWL_OK,
  HWL_SHORT_HEADER,       // the file is shorter than the header
  HWL_UNSUPPORTED_DEPTH,  // bitsPerPixel is neither 8 nor 24
  HWL_EMPTY_IMAGE,        // width or height is 0
  HWL_IMAGE_TOO_LARGE,    // width or height above HWL_MAX_SIDE
  HWL_TOO_MANY_LEVELS,    // levels above HWL_MAX_LEVELS
  HWL_SIDES_NOT_DIVISIBLE,  // a side is not a multiple of 2^(levels + 1)
  HWL_BAD_VALUE_BITS,     // valueBits above 8
  HWL_SHORT_STREAMS,      // the tables and streams need more bytes than the file holds
  HWL_BUFFER_TOO_SMALL    // allocate was off and the caller's buffer is too small
};

// A short sentence for a status, for error messages.
const char *hwlStatusText(HwlStatus status);

// Planes in the file (1 or 3; 0 for an unsupported depth).
int hwlPlaneCount(const HwlHeader &header);
// Bytes of decoded pixels: W*H for 8-bit files, 4*W*H for 24-bit files.
uint64_t hwlPixelBytes(const HwlHeader &header);
// Bytes the header, the tables and the declared streams take.
uint64_t hwlRequiredBytes(const HwlHeader &header);

void parseHwlHeader(const uint8_t bytes[HWL_HEADER_SIZE], HwlHeader &header);
void writeHwlHeader(const HwlHeader &header, uint8_t bytes[HWL_HEADER_SIZE]);
// Checks the header fields against each other and against the file length.
HwlStatus checkHwlHeader(const HwlHeader &header, uint64_t fileLength);

// Opens the file, reads and checks the header, closes the file.
HwlStatus readHwlHeader(const char *fileName, HwlHeader &header);

// Decodes the file into pixels: W*H grey bytes for an 8-bit file; for a
// 24-bit file W*H 32-bit words c2 + 256*c1 + 65536*c0 (planes 0, 1, 2 are
// red, green, blue), so the bytes of a pixel are blue, green, red, 0. Rows
// run from the top. With allocate set, pixels is resized to fit; otherwise
// it must already hold hwlPixelBytes. A file that fails the header check
// gives its status and leaves pixels untouched.
HwlStatus decodeHwl(std::vector<uint8_t> &pixels, HwlHeader &header, const char *fileName, bool allocate);
// The same for a file held in memory (tests and fuzzing).
HwlStatus decodeHwlMemory(std::vector<uint8_t> &pixels, HwlHeader &header, const void *bytes, int32_t length);
// Decodes from a data file opened at its first byte.
HwlStatus decodeHwlData(DataFile &file, std::vector<uint8_t> &pixels, HwlHeader &header, bool allocate);

// Rebuilds a plane's integer coefficients (held as doubles) from its
// streams. Decoding stops when the symbols run out or a symbol needs a
// magnitude after the last one; the positions not reached are 0, and a run
// never writes past count.
void rebuildHwlPlane(const HwlStreams &streams, double *plane, uint64_t count);

// One-dimensional synthesis of a line of length m (exposed for the tests):
// low[0 .. m/2-1] and high[0 .. m/2-1] give out[0 .. m-1]; step is the
// distance between successive samples of low and high.
void synthesiseHwlLine(const double *low, const double *high, int step, double *out, int outStep, int m);
// Output pair k (samples 2k and 2k + 1) of a line of length m, for the
// encoder's reconstruction: low and high point at sample 0 of the low- and
// high-pass lines, step apart.
void synthesiseHwlPair(const double *low, const double *high, size_t step, int k, int m, double &even, double &odd);
// Converts a decoded value to a byte: clamped to 0 ... 255, halfway to even.
uint8_t hwlToByte(double v);
