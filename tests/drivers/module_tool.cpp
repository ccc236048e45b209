// Test modules and sound levels for the music end-to-end scripts:
//   module_tool write OUT.mod [ROWS [SPEED]]   writes a small M.K. module
//   module_tool level MOD RATE FRAMES           RMS dBFS of a direct render
//   module_tool capture FILE.raw                frames and RMS dBFS of 16-bit
//                                               stereo sound, silence trimmed
#include "tests/module_writer.h"
#include "tests/sound_level.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static std::vector<uint8_t> ReadAll(const char *path) {
  std::vector<uint8_t> bytes;
  FILE *file = fopen(path, "rb");
  if (!file) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  fclose(file);
  return bytes;
}

int main(int argc, char **argv) {
  if (argc >= 3 && strcmp(argv[1], "write") == 0) {
    TestModuleShape shape;
    if (argc >= 4) shape.Rows = atoi(argv[3]);
    if (argc >= 5) shape.Speed = atoi(argv[4]);
    if (shape.Rows < 1 || shape.Rows > 64 || shape.Speed < 1 || shape.Speed > 31) return 2;
    return WriteBytes(argv[2], MakeTestModule(shape)) ? 0 : 1;
  }
  if (argc == 5 && strcmp(argv[1], "level") == 0) {
    std::vector<int16_t> sound = RenderModule(ReadAll(argv[2]), atoi(argv[3]), (size_t)atol(argv[4]));
    if (sound.empty()) return 1;
    printf("%.3f\n", RmsDb(sound));
    return 0;
  }
  if (argc == 3 && strcmp(argv[1], "capture") == 0) {
    std::vector<uint8_t> bytes = ReadAll(argv[2]);
    std::vector<int16_t> sound(bytes.size() / 4 * 2);
    memcpy(sound.data(), bytes.data(), sound.size() * sizeof(int16_t));
    sound = TrimSilence(sound);
    printf("%zu %.3f\n", sound.size() / 2, RmsDb(sound));
    return 0;
  }
  fprintf(stderr, "usage: module_tool write|level|capture ...\n");
  return 2;
}
