// Writes small valid 4-channel "M.K." modules for the music tests: two
// looping synthesized samples and one pattern of chords.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TestModuleShape {
  int Rows = 64;   // rows played per pass (1 to 64); a pattern break ends it early
  int Speed = 6;   // ticks per row at tempo 125 (20 ms a tick)
};

inline void PutWordBE(std::vector<uint8_t> &out, size_t at, int value) {
  out[at] = (uint8_t)(value >> 8);
  out[at + 1] = (uint8_t)value;
}

inline void PutCell(std::vector<uint8_t> &out, size_t at, int sample, int period, int effect, int param) {
  out[at] = (uint8_t)((sample & 0xF0) | (period >> 8));
  out[at + 1] = (uint8_t)period;
  out[at + 2] = (uint8_t)(((sample & 0x0F) << 4) | effect);
  out[at + 3] = (uint8_t)param;
}

inline std::vector<uint8_t> MakeTestModule(TestModuleShape shape = {}) {
  enum { HEADER = 1084, PATTERN = 1024, SAMPLE1 = 64, SAMPLE2 = 128 };
  std::vector<uint8_t> out(HEADER + PATTERN + SAMPLE1 + SAMPLE2, 0);
  const char title[] = "frosten test";
  for (size_t i = 0; i + 1 < sizeof title; i++) out[i] = (uint8_t)title[i];
  // Sample headers: length, finetune, volume, loop start, loop length (words).
  size_t h1 = 20, h2 = 20 + 30;
  PutWordBE(out, h1 + 22, SAMPLE1 / 2);
  out[h1 + 25] = 64;
  PutWordBE(out, h1 + 28, SAMPLE1 / 2);
  PutWordBE(out, h2 + 22, SAMPLE2 / 2);
  out[h2 + 25] = 48;
  PutWordBE(out, h2 + 28, SAMPLE2 / 2);
  for (int i = 2; i < 31; i++) PutWordBE(out, 20 + i * 30 + 28, 1);  // unused: no loop
  out[950] = 1;    // song length: one order
  out[951] = 127;  // restart byte
  out[952] = 0;    // order 0 plays pattern 0
  out[1080] = 'M'; out[1081] = '.'; out[1082] = 'K'; out[1083] = '.';

  const int chords[4][3] = {{428, 339, 285}, {381, 302, 254}, {453, 360, 302}, {339, 285, 226}};
  for (int row = 0; row < 64; row += 8) {
    const int *chord = chords[(row / 8) % 4];
    size_t at = HEADER + (size_t)row * 16;
    PutCell(out, at, 1, chord[0], 0, 0);
    PutCell(out, at + 4, 2, chord[1], 0, 0);
    PutCell(out, at + 8, row % 16 ? 2 : 1, chord[2], 0, 0);
  }
  PutCell(out, HEADER + 12, 0, 0, 0xF, shape.Speed);  // row 0, channel 4: speed
  if (shape.Rows < 64) PutCell(out, HEADER + (size_t)(shape.Rows - 1) * 16 + 12, 0, 0, 0xD, 0);

  // Sample 1: a square wave; sample 2: a triangle; both loop whole.
  size_t s1 = HEADER + PATTERN, s2 = s1 + SAMPLE1;
  for (int i = 0; i < SAMPLE1; i++) out[s1 + i] = (uint8_t)(int8_t)((i % 32) < 16 ? 60 : -60);
  for (int i = 0; i < SAMPLE2; i++) {
    int phase = i % 64;
    out[s2 + i] = (uint8_t)(int8_t)(phase < 32 ? -96 + phase * 6 : 96 - (phase - 32) * 6);
  }
  return out;
}

inline bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}
