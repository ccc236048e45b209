// Mixes a module directly with libopenmpt, as the music tests' reference:
// module_render MODULE SKIP FRAMES OUT writes FRAMES stereo frames of 16-bit
// samples at 44.1 kHz, starting SKIP frames into the song, to OUT.
#include "tests/sound_level.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: module_render MODULE SKIP FRAMES OUT\n");
    return 2;
  }
  FILE *in = fopen(argv[1], "rb");
  if (!in) return 1;
  std::vector<uint8_t> bytes;
  for (int c; (c = fgetc(in)) != EOF;) bytes.push_back((uint8_t)c);
  fclose(in);
  size_t skip = strtoul(argv[2], nullptr, 10), frames = strtoul(argv[3], nullptr, 10);
  std::vector<int16_t> samples = RenderModule(bytes, 44100, skip + frames);
  if (samples.size() != (skip + frames) * 2) return 1;
  FILE *out = fopen(argv[4], "wb");
  if (!out) return 1;
  bool ok = fwrite(samples.data() + skip * 2, 4, frames, out) == frames;
  return fclose(out) == 0 && ok ? 0 : 1;
}
