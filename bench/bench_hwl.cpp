// Decoding speed of a 1024 x 1024 colour HWL file.
// frosten-test-links: tooling
#include "textures/hwl.h"
#include "tools/common/hwl_encode.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

enum { SIDE = 1024 };

// A picture with smooth shading, edges and fine texture, encoded once.
static const std::vector<uint8_t> &ColourFile(int quality) {
  static std::vector<uint8_t> files[101];
  std::vector<uint8_t> &file = files[quality];
  if (!file.empty()) return file;
  std::vector<uint8_t> picture((size_t)SIDE * SIDE * 3);
  for (int y = 0; y < SIDE; y++)
    for (int x = 0; x < SIDE; x++)
      for (int c = 0; c < 3; c++) {
        double v = 128 + 70 * std::sin(x * 0.011 + c) * std::cos(y * 0.017 - c);
        if (((x / 64) ^ (y / 48)) & 1) v += 40;
        v += ((x * 31 + y * 17 + c * 7) % 23) - 11;
        picture[((size_t)y * SIDE + x) * 3 + c] = (uint8_t)std::fmax(0, std::fmin(255, v));
      }
  char error[256];
  if (!encodeHwl(picture.data(), SIDE, SIDE, 3, {-1, quality}, file, error, sizeof error)) {
    fprintf(stderr, "bench_hwl: %s\n", error);
    abort();
  }
  return file;
}

static void BM_DecodeColour1024(benchmark::State &state) {
  const std::vector<uint8_t> &file = ColourFile((int)state.range(0));
  std::vector<uint8_t> pixels;
  HwlHeader header;
  for (auto _ : state) {
    HwlStatus status = decodeHwlMemory(pixels, header, file.data(), (int32_t)file.size());
    if (status != HWL_OK) state.SkipWithError(hwlStatusText(status));
    benchmark::DoNotOptimize(pixels.data());
  }
  // Throughput in decoded RGB bytes (3 per pixel).
  state.SetBytesProcessed((int64_t)state.iterations() * SIDE * SIDE * 3);
  state.counters["file_bytes"] = (double)file.size();
}
BENCHMARK(BM_DecodeColour1024)->Arg(30)->Arg(75)->Arg(95)->Unit(benchmark::kMillisecond);
