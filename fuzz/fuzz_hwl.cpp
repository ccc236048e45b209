// Decodes arbitrary bytes as an HWL file held in memory: any input must give
// a status, never a crash, a hang, an out-of-range access or an allocation
// the input cannot back.
// frosten-test-links: base
#include "textures/hwl.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

// Headers that pass the checks may still declare up to 8192 x 8192 pixels
// from a few bytes (short streams leave the rest of the plane at zero). Such
// inputs are only checked, not decoded, to keep every run short.
enum { FUZZ_MAX_PIXELS = 1 << 20 };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > (1 << 24)) return 0;
  if (size >= HWL_HEADER_SIZE) {
    HwlHeader header;
    parseHwlHeader(data, header);
    if ((uint64_t)header.width * header.height > FUZZ_MAX_PIXELS) {
      checkHwlHeader(header, size);
      return 0;
    }
  }
  std::vector<uint8_t> pixels;
  HwlHeader header;
  HwlStatus status = decodeHwlMemory(pixels, header, data, (int32_t)size);
  if (status == HWL_OK && pixels.size() != hwlPixelBytes(header)) abort();
  if (status != HWL_OK && !pixels.empty()) abort();
  return 0;
}
