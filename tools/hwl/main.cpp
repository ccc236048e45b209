// frosten-hwl: converts between PNG and HWL images and describes HWL files.
//
//   frosten-hwl encode IN.png OUT.hwl [--levels N] [--quality Q] [--grey] [--alpha]
//   frosten-hwl decode IN.hwl OUT.png
//   frosten-hwl info IN.hwl
#include "scene/datafile.h"
#include "textures/hwl.h"
#include "tools/common/hwl_encode.h"
#include "tools/common/png_file.h"
#include "tools/common/tool_cli.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

struct EncodeOptions {
  const char *Input;
  const char *Output;
  HwlEncodeSettings Settings;
  bool Grey;   // store one grey plane (the luma of a colour image)
  bool Alpha;  // store the alpha channel as one grey plane
};

static const char *USAGE =
    "usage: frosten-hwl encode IN.png OUT.hwl [--levels N] [--quality Q] [--grey] [--alpha]\n"
    "       frosten-hwl decode IN.hwl OUT.png\n"
    "       frosten-hwl info IN.hwl\n";

static int Fail(const char *file, const char *reason) {
  fprintf(stderr, "frosten-hwl: %s: %s\n", file, reason);
  return 1;
}

static void ToolDataError(int code, const char *fileName) {
  ToolFail("%s: %s (I/O error %d)", fileName, IoErrorText(code), code);
}

static void ParseEncodeOptions(int argc, char **argv, EncodeOptions &options) {
  options = EncodeOptions{nullptr, nullptr, {-1, HWL_DEFAULT_QUALITY}, false, false};
  for (int i = 2; i < argc; i++) {
    const char *a = argv[i];
    if (!strcmp(a, "--grey")) options.Grey = true;
    else if (!strcmp(a, "--alpha")) options.Alpha = true;
    else if (!strcmp(a, "--levels"))
      options.Settings.Levels = ToolIntValue(a, ToolOptionValue(argc, argv, i), 0, HWL_MAX_LEVELS);
    else if (!strcmp(a, "--quality"))
      options.Settings.Quality = ToolIntValue(a, ToolOptionValue(argc, argv, i), 1, 100);
    else if (a[0] == '-' && a[1]) ToolUsageError("unknown option %s", a);
    else if (!options.Input) options.Input = a;
    else if (!options.Output) options.Output = a;
    else ToolUsageError("too many arguments");
  }
  if (!options.Input || !options.Output) ToolUsageError("encode needs IN.png and OUT.hwl");
  ToolRefuseSameFile(options.Input, options.Output);
}

// The planes to store: one grey plane or red, green, blue.
static void SelectPlanes(const PngImage &png, const EncodeOptions &options, std::vector<uint8_t> &planes,
                         int &channels) {
  size_t count = (size_t)png.Width * png.Height;
  int in = png.Channels;
  bool colour = in >= 3;
  channels = options.Grey || options.Alpha || !colour ? 1 : 3;
  planes.resize(count * channels);
  for (size_t i = 0; i < count; i++) {
    const uint8_t *px = png.Pixels.data() + i * in;
    if (options.Alpha) planes[i] = px[in - 1];
    else if (channels == 3) memcpy(&planes[i * 3], px, 3);
    else if (colour) planes[i] = (uint8_t)((299 * px[0] + 587 * px[1] + 114 * px[2] + 500) / 1000);
    else planes[i] = px[0];
  }
}

static int Encode(int argc, char **argv) {
  EncodeOptions options;
  ParseEncodeOptions(argc, argv, options);
  ToolRequireFile(options.Input);
  PngImage png;
  char error[256];
  if (!ReadPng(options.Input, png, error, sizeof error)) {
    fprintf(stderr, "frosten-hwl: %s\n", error);  // the reason names the file
    return 1;
  }
  if (options.Alpha && png.Channels != 2 && png.Channels != 4) return Fail(options.Input, "image has no alpha channel");
  std::vector<uint8_t> planes, file;
  int channels;
  SelectPlanes(png, options, planes, channels);
  if (!encodeHwl(planes.data(), png.Width, png.Height, channels, options.Settings, file, error, sizeof error))
    return Fail(options.Input, error);
  if (!ToolWriteFile(options.Output, file.data(), file.size())) return Fail(options.Output, strerror(errno));
  return 0;
}

static int Decode(int argc, char **argv) {
  if (argc != 4) ToolUsageError("decode needs IN.hwl and OUT.png");
  ToolRefuseSameFile(argv[2], argv[3]);
  ToolRequireFile(argv[2]);
  std::vector<uint8_t> pixels;
  HwlHeader header;
  HwlStatus status = decodeHwl(pixels, header, argv[2], true);
  if (status != HWL_OK) return Fail(argv[2], hwlStatusText(status));
  PngImage png;
  png.Width = header.width;
  png.Height = header.height;
  size_t count = (size_t)png.Width * png.Height;
  if (header.bitsPerPixel == 8) {
    png.Channels = 1;
    png.Pixels = pixels;
  } else {
    png.Channels = 3;
    png.Pixels.resize(count * 3);
    for (size_t i = 0; i < count; i++) {  // memory order of a pixel: c2, c1, c0, 0
      png.Pixels[3 * i] = pixels[4 * i + 2];
      png.Pixels[3 * i + 1] = pixels[4 * i + 1];
      png.Pixels[3 * i + 2] = pixels[4 * i];
    }
  }
  char error[256];
  if (!WritePng(argv[3], png, error, sizeof error)) {
    fprintf(stderr, "frosten-hwl: %s\n", error);  // the reason names the file
    return 1;
  }
  return 0;
}

static int Info(int argc, char **argv) {
  if (argc != 3) ToolUsageError("info needs IN.hwl");
  ToolRequireFile(argv[2]);
  DataFile file;
  OpenDataFile(file, argv[2]);
  int32_t length = file.Size - file.Position;
  uint8_t bytes[HWL_HEADER_SIZE];
  ReadData(file, bytes, HWL_HEADER_SIZE);
  HwlHeader header;
  parseHwlHeader(bytes, header);
  HwlStatus status = checkHwlHeader(header, (uint64_t)length);
  if (status != HWL_OK) {
    CloseDataFile(file);
    return Fail(argv[2], hwlStatusText(status));
  }
  printf("file: %s (%d bytes)\n", argv[2], length);
  printf("tag: %02x %02x %02x\n", header.tag[0], header.tag[1], header.tag[2]);
  printf("width: %u\nheight: %u\nbitsPerPixel: %u\nlevels: %u\nvalueBits: %u\n", header.width, header.height,
         header.bitsPerPixel, header.levels, header.valueBits);
  int planes = hwlPlaneCount(header);
  std::vector<double> tables((size_t)planes * (header.levels + 2));
  ReadData(file, tables.data(), (int32_t)(tables.size() * sizeof(double)));  // little-endian host
  for (int p = 0; p < planes; p++) {
    uint64_t classBytes = ((uint64_t)header.classCount[p] + 3) / 4;
    uint64_t valueBytes = ((uint64_t)header.valueCount[p] * header.valueBits + 7) / 8;
    printf("plane %d: classCount %u (%llu bytes), valueCount %u (%llu bytes)\n", p, header.classCount[p],
           (unsigned long long)classBytes, header.valueCount[p], (unsigned long long)valueBytes);
    printf("plane %d table:", p);
    for (int i = 0; i < header.levels + 2; i++) printf(" %.9g", tables[(size_t)p * (header.levels + 2) + i]);
    printf("\n");
  }
  printf("tables: %llu bytes\nstreams end at: %llu bytes\n", (unsigned long long)(tables.size() * 8),
         (unsigned long long)hwlRequiredBytes(header));
  CloseDataFile(file);
  return 0;
}

int main(int argc, char **argv) {
  ToolStart("frosten-hwl", USAGE, argc, argv);
  DataError = ToolDataError;
  if (argc < 2) ToolUsageError(nullptr);
  if (!strcmp(argv[1], "encode")) return Encode(argc, argv);
  if (!strcmp(argv[1], "decode")) return Decode(argc, argv);
  if (!strcmp(argv[1], "info")) return Info(argc, argv);
  ToolUsageError("unknown command %s", argv[1]);
}
