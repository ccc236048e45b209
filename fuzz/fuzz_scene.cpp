// LoadScene on arbitrary bytes: no crash, hang, leak or out-of-range access.
// frosten-test-links: base
#include "scene/scene.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  Scene scene;
  LoadSceneMemory(data, (int32_t)size, "fuzz.3ds", scene);
  FreeScene(scene);
  return 0;
}
