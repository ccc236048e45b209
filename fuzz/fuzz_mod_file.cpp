// The module reader on arbitrary bytes: no crash, no out-of-range read, and
// whatever it accepts and the writer can hold reads back the same.
// frosten-test-links: tooling
#include "tools/common/mod_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  ModFile mod;
  std::string error;
  if (!ReadModBytes(data, size, mod, error)) return 0;
  std::vector<uint8_t> bytes, again;
  if (!WriteModBytes(mod, bytes, error)) return 0;
  ModFile reread;
  if (!ReadModBytes(bytes.data(), bytes.size(), reread, error)) abort();
  if (!WriteModBytes(reread, again, error) || again != bytes) abort();
  return 0;
}
