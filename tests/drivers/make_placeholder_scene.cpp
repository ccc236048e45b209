// Writes the small test scene as a 3DS file: the show's placeholder
// data/xmas.3ds until the real scene lands. make_placeholder_scene FILE
#include "tests/test_scene.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_placeholder_scene FILE\n");
    return 2;
  }
  std::vector<uint8_t> bytes = BuildTestScene();
  FILE *f = fopen(argv[1], "wb");
  if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
    perror(argv[1]);
    return 1;
  }
  printf("%s: %zu bytes\n", argv[1], bytes.size());
  return 0;
}
