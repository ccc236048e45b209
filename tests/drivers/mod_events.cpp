// Lists the notes one channel of a module plays in its first seconds, in
// playing order: mod_events FILE CHANNEL SECONDS prints "TIME SAMPLE NOTE
// VOLUME" lines (seconds from the start, sample 1..31, note index 0..35 with
// 12 = C-2, the volume command's value or the sample's own volume). Follows
// speed and tempo commands; stops at the first jump or break.
#include "tools/common/mod_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: mod_events FILE CHANNEL SECONDS\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  ModFile mod;
  std::string error;
  if (!ReadModBytes(bytes.data(), bytes.size(), mod, error)) {
    fprintf(stderr, "mod_events: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  int channel = atoi(argv[2]);
  double limit = atof(argv[3]), time = 0;
  if (channel < 0 || channel >= MOD_CHANNELS) return 2;
  int speed = 6, tempo = 125;
  for (int position = 0; position < mod.SongLength; position++) {
    const ModPattern &pattern = mod.Patterns[mod.Orders[position]];
    for (int row = 0; row < MOD_ROWS; row++) {
      bool leave = false;
      for (const ModCell &cell : pattern.Cells[row]) {
        if (cell.Effect == 0xF && cell.Param) (cell.Param < 32 ? speed : tempo) = cell.Param;
        if (cell.Effect == 0xB || cell.Effect == 0xD) leave = true;
      }
      if (time >= limit) return 0;
      const ModCell &cell = pattern.Cells[row][channel];
      if (cell.Period && cell.Sample >= 1 && cell.Sample <= MOD_SAMPLES) {
        int volume = cell.Effect == 0xC ? cell.Param : mod.Samples[cell.Sample - 1].Volume;
        printf("%.4f %d %d %d\n", time, cell.Sample, ModNoteOfPeriod(cell.Period), volume);
      }
      time += speed * 2.5 / tempo;
      if (leave) return 0;
    }
  }
  return 0;
}
