// Writes small valid 4-channel "M.K." modules for the music tests: two
// looping synthesized samples and one pattern of chords.
#pragma once

#include "tools/common/mod_file.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TestModuleShape {
  int Rows = 64;   // rows played per pass (1 to 64); a pattern break ends it early
  int Speed = 6;   // ticks per row at tempo 125 (20 ms a tick)
};

inline std::vector<uint8_t> MakeTestModule(TestModuleShape shape = {}) {
  ModFile mod{};
  mod.Title = "frosten test";
  mod.SongLength = 1;
  mod.Restart = 127;
  mod.Patterns.resize(1);
  ModPattern &pattern = mod.Patterns[0];
  const uint16_t chords[4][3] = {{428, 339, 285}, {381, 302, 254}, {453, 360, 302}, {339, 285, 226}};
  for (int row = 0; row < MOD_ROWS; row += 8) {
    const uint16_t *chord = chords[(row / 8) % 4];
    pattern.Cells[row][0] = {1, chord[0], 0, 0};
    pattern.Cells[row][1] = {2, chord[1], 0, 0};
    pattern.Cells[row][2] = {(uint8_t)(row % 16 ? 2 : 1), chord[2], 0, 0};
  }
  pattern.Cells[0][3] = {0, 0, 0xF, (uint8_t)shape.Speed};
  if (shape.Rows < MOD_ROWS) pattern.Cells[shape.Rows - 1][3] = {0, 0, 0xD, 0};

  // Sample 1: a square wave; sample 2: a triangle; both loop whole.
  ModSample &square = mod.Samples[0];
  square.Volume = 64;
  for (int i = 0; i < 64; i++) square.Data.push_back((int8_t)((i % 32) < 16 ? 60 : -60));
  square.LoopLength = 64;
  ModSample &triangle = mod.Samples[1];
  triangle.Volume = 48;
  for (int i = 0; i < 128; i++) {
    int phase = i % 64;
    triangle.Data.push_back((int8_t)(phase < 32 ? -96 + phase * 6 : 96 - (phase - 32) * 6));
  }
  triangle.LoopLength = 128;

  std::vector<uint8_t> bytes;
  std::string error;
  WriteModBytes(mod, bytes, error);
  return bytes;
}

inline bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}
