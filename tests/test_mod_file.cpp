// The module record, reader and writer.
// frosten-test-links: tooling
#include "tools/common/mod_file.h"

#include <gtest/gtest.h>

#include <cstring>

static ModFile SmallModule() {
  ModFile mod = {};
  mod.Title = "small";
  mod.Restart = 127;
  mod.SongLength = 3;
  mod.Orders[0] = 0, mod.Orders[1] = 1, mod.Orders[2] = 0;
  mod.Patterns.resize(2, ModPattern{});
  mod.Patterns[0].Cells[0][0] = ModCell{1, 428, 0xC, 40};
  mod.Patterns[1].Cells[63][3] = ModCell{17, 113, 0xB, 0};
  ModSample &sample = mod.Samples[0];
  sample.Name = "tone";
  sample.Finetune = 0;
  sample.Volume = 64;
  sample.Data.assign(100, 0);
  for (int i = 2; i < 100; i++) sample.Data[i] = (int8_t)(i % 7 * 10 - 30);
  sample.LoopStart = 20;
  sample.LoopLength = 80;
  mod.Samples[16].Name = "one-shot";
  mod.Samples[16].Volume = 32;
  mod.Samples[16].Data.assign(10, 5);
  return mod;
}

static std::vector<uint8_t> Encode(const ModFile &mod) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(WriteModBytes(mod, bytes, error)) << error;
  return bytes;
}

TEST(ModFile, PeriodTableAndNames) {
  EXPECT_EQ(ModPeriods[12], 428);
  EXPECT_EQ(ModNoteOfPeriod(428), 12);
  EXPECT_EQ(ModNoteOfPeriod(113), 35);
  EXPECT_EQ(ModNoteOfPeriod(429), -1);
  EXPECT_EQ(ModNoteName(0), "C-1");
  EXPECT_EQ(ModNoteName(30), "F#3");
  EXPECT_EQ(ModNoteName(36), "???");
  // Each period is the equal-tempered step of its neighbour, to rounding.
  for (int note = 1; note < MOD_NOTES; note++) {
    double ratio = (double)ModPeriods[note - 1] / ModPeriods[note];
    EXPECT_NEAR(ratio, 1.059463, 0.006) << ModNoteName(note);
  }
}

TEST(ModFile, LayoutOfTheWrittenFile) {
  std::vector<uint8_t> bytes = Encode(SmallModule());
  ASSERT_EQ(bytes.size(), MOD_HEADER_BYTES + 2u * MOD_PATTERN_BYTES + 100 + 10);
  EXPECT_EQ(memcmp(bytes.data(), "small\0", 6), 0);
  EXPECT_EQ(memcmp(bytes.data() + 1080, "M.K.", 4), 0);
  const uint8_t *first = bytes.data() + 20;
  EXPECT_EQ(first[22] << 8 | first[23], 50);  // length in words
  EXPECT_EQ(first[26] << 8 | first[27], 10);  // loop start in words
  EXPECT_EQ(first[28] << 8 | first[29], 40);  // loop length in words
  const uint8_t *unlooped = bytes.data() + 20 + 30 * 16;
  EXPECT_EQ(unlooped[28] << 8 | unlooped[29], 1);
  EXPECT_EQ(bytes[950], 3);
  EXPECT_EQ(bytes[951], 127);
  // Sample 17 on B-3 with a position jump: the high sample nibble sits in the period byte.
  const uint8_t *cell = bytes.data() + MOD_HEADER_BYTES + MOD_PATTERN_BYTES + (63 * 4 + 3) * 4;
  EXPECT_EQ(cell[0], 0x10);
  EXPECT_EQ(cell[1], 113);
  EXPECT_EQ(cell[2], 0x1B);
}

TEST(ModFile, ReadsBackWhatWasWritten) {
  ModFile original = SmallModule();
  std::vector<uint8_t> bytes = Encode(original);
  ModFile read;
  std::string error;
  ASSERT_TRUE(ReadModBytes(bytes.data(), bytes.size(), read, error)) << error;
  EXPECT_EQ(read.Title, "small");
  EXPECT_EQ(read.SongLength, 3);
  EXPECT_EQ(read.Patterns.size(), 2u);
  const ModCell &cell = read.Patterns[1].Cells[63][3];
  EXPECT_EQ(cell.Sample, 17);
  EXPECT_EQ(cell.Period, 113);
  EXPECT_EQ(cell.Effect, 0xB);
  EXPECT_EQ(read.Samples[0].Data, original.Samples[0].Data);
  EXPECT_EQ(read.Samples[0].LoopStart, 20u);
  EXPECT_EQ(read.Samples[0].LoopLength, 80u);
  EXPECT_EQ(read.Samples[16].LoopLength, 0u);
  EXPECT_EQ(read.Samples[16].Name, "one-shot");
  EXPECT_EQ(Encode(read), bytes);
}

TEST(ModFile, RefusesRecordsTheFormatCannotHold) {
  std::vector<uint8_t> bytes;
  std::string error;
  ModFile mod = SmallModule();
  mod.Samples[3].Data.assign(7, 0);
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
  EXPECT_NE(error.find("sample 4"), std::string::npos);

  mod = SmallModule();
  mod.Samples[0].LoopLength = 90;
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
  mod = SmallModule();
  mod.Samples[0].Data.assign(MOD_MAX_SAMPLE_BYTES + 2, 0);
  mod.Samples[0].LoopLength = 0;
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
  mod = SmallModule();
  mod.Title = "a title of more than twenty";
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
  mod = SmallModule();
  mod.Orders[100] = 2;  // unplayed orders still count
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
  mod = SmallModule();
  mod.SongLength = 0;
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
  mod = SmallModule();
  mod.Patterns[0].Cells[5][1].Effect = 16;
  EXPECT_FALSE(WriteModBytes(mod, bytes, error));
}

TEST(ModFile, RejectsDamagedFiles) {
  std::vector<uint8_t> bytes = Encode(SmallModule());
  ModFile mod;
  std::string error;
  EXPECT_FALSE(ReadModBytes(bytes.data(), MOD_HEADER_BYTES - 1, mod, error));
  EXPECT_FALSE(ReadModBytes(bytes.data(), MOD_HEADER_BYTES + MOD_PATTERN_BYTES + 10, mod, error));
  EXPECT_EQ(error, "pattern data cut off");

  std::vector<uint8_t> other = bytes;
  memcpy(other.data() + 1080, "8CHN", 4);
  EXPECT_FALSE(ReadModBytes(other.data(), other.size(), mod, error));
  other = bytes;
  other[950] = 0;
  EXPECT_FALSE(ReadModBytes(other.data(), other.size(), mod, error));
  other = bytes;
  other[952 + 127] = 200;
  EXPECT_FALSE(ReadModBytes(other.data(), other.size(), mod, error));
  // A pattern number the file cannot back is refused before anything is allocated for it.
  other = bytes;
  other[952 + 5] = 127;
  EXPECT_FALSE(ReadModBytes(other.data(), other.size(), mod, error));
}

TEST(ModFile, ShortensSamplesCutOffAtTheEnd) {
  std::vector<uint8_t> bytes = Encode(SmallModule());
  ModFile mod;
  std::string error;
  size_t patternsEnd = MOD_HEADER_BYTES + 2 * MOD_PATTERN_BYTES;
  // Sample 1 keeps 51 of its 100 bytes (rounded down to 50); its loop from 20 shrinks to 30.
  ASSERT_TRUE(ReadModBytes(bytes.data(), patternsEnd + 51, mod, error)) << error;
  EXPECT_EQ(mod.Samples[0].Data.size(), 50u);
  EXPECT_EQ(mod.Samples[0].LoopStart, 20u);
  EXPECT_EQ(mod.Samples[0].LoopLength, 30u);
  EXPECT_TRUE(mod.Samples[16].Data.empty());
  // Cut before the loop start: no loop is left.
  ASSERT_TRUE(ReadModBytes(bytes.data(), patternsEnd + 10, mod, error));
  EXPECT_EQ(mod.Samples[0].LoopLength, 0u);
  EXPECT_EQ(mod.Samples[0].LoopStart, 0u);
  // Header fields out of range are brought into range.
  std::vector<uint8_t> loud = bytes;
  loud[20 + 25] = 200;
  ASSERT_TRUE(ReadModBytes(loud.data(), loud.size(), mod, error));
  EXPECT_EQ(mod.Samples[0].Volume, 64);
}
