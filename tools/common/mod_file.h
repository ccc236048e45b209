// Four-channel ProTracker modules ("M.K.", 31 samples, 64-row patterns):
// the in-memory record, the period table, and reading and writing the file,
// for the music generator and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum {
  MOD_SAMPLES = 31,
  MOD_CHANNELS = 4,
  MOD_ROWS = 64,
  MOD_ORDERS = 128,
  MOD_MAX_PATTERNS = 64,      // "M.K." pattern numbers are 0..63
  MOD_NOTES = 36,             // C-1 .. B-3
  MOD_MAX_SAMPLE_BYTES = 131070,
  MOD_HEADER_BYTES = 1084,
  MOD_PATTERN_BYTES = MOD_ROWS * MOD_CHANNELS * 4
};

struct ModCell {
  uint8_t Sample;   // 1..31, 0 none
  uint16_t Period;  // Amiga period, 0 none
  uint8_t Effect;   // 0..15
  uint8_t Param;
};

struct ModPattern {
  ModCell Cells[MOD_ROWS][MOD_CHANNELS];
};

struct ModSample {
  std::string Name;          // at most 22 characters
  uint8_t Finetune;          // 0..15 (signed nibble)
  uint8_t Volume;            // 0..64
  uint32_t LoopStart;        // bytes, even
  uint32_t LoopLength;       // bytes, even; 0 = not looped
  std::vector<int8_t> Data;  // even length, at most MOD_MAX_SAMPLE_BYTES
};

struct ModFile {
  std::string Title;  // at most 20 characters
  ModSample Samples[MOD_SAMPLES];
  uint8_t SongLength;  // 1..128 entries of Orders are played
  uint8_t Restart;     // 127 by convention
  uint8_t Orders[MOD_ORDERS];
  std::vector<ModPattern> Patterns;
};

// Periods of the 36 notes at finetune 0; index 12 is C-2 (428).
extern const uint16_t ModPeriods[MOD_NOTES];

// The note index 0..35 of an exact table period, or -1.
int ModNoteOfPeriod(uint16_t period);
// "C-2", "F#3" for a note index, "???" outside the table.
std::string ModNoteName(int note);

// Checks the record against the format's limits and encodes it. Returns
// false with a one-line reason in error for a record the format cannot hold.
bool WriteModBytes(const ModFile &mod, std::vector<uint8_t> &bytes, std::string &error);
// Decodes a four-channel, 31-sample module. Returns false with a reason for
// a file that is too short, of another kind or whose patterns are cut off;
// sample data cut off at the end of the file are shortened to what is there.
bool ReadModBytes(const uint8_t *bytes, size_t size, ModFile &mod, std::string &error);
