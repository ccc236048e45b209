// The data-file reader: the two-halves offsets, per-file bytes, reads
// outside a file, read-only files, names with '\' and the error codes.
// frosten-test-links: base
#include "scene/datafile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

static std::string TempDir() {
  static std::string dir;
  if (dir.empty()) {
    char name[] = "/tmp/frosten_datafile_XXXXXX";
    dir = mkdtemp(name);
  }
  return dir;
}

static std::string WriteFile(const std::string &name, const std::vector<uint8_t> &bytes) {
  std::string path = TempDir() + "/" + name;
  FILE *f = fopen(path.c_str(), "wb");
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  return path;
}

static std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; i++) b[i] = (uint8_t)(i * 7 + seed);
  return b;
}

static std::vector<int> Errors;
static void RecordError(int code, const char *) { Errors.push_back(code); }

struct DataFileTest : ::testing::Test {
  DataErrorHandler Saved = DataError;
  void SetUp() override {
    Errors.clear();
    DataError = RecordError;
    DataBuffer.SlotABusy = DataBuffer.SlotBBusy = false;
  }
  void TearDown() override { DataError = Saved; }
};

TEST_F(DataFileTest, TwoOpenFilesUseTheTwoHalves) {
  // The first file is larger than a half and still keeps all its bytes.
  std::vector<uint8_t> big = Pattern(DATA_HALF + 1000, 1), small = Pattern(300, 9);
  std::string a = WriteFile("a.bin", big), b = WriteFile("b.bin", small);
  DataFile first, second;
  OpenDataFile(first, a.c_str());
  EXPECT_EQ(first.Position, 0);
  EXPECT_EQ(first.Size, (int32_t)big.size());
  OpenDataFile(second, b.c_str());
  EXPECT_EQ(second.Position, DATA_HALF);
  EXPECT_EQ(second.Size, DATA_HALF + 300);
  EXPECT_TRUE(Errors.empty());

  std::vector<uint8_t> got(big.size());
  ReadData(first, got.data(), (int32_t)got.size());
  EXPECT_EQ(got, big);
  EXPECT_EQ(first.Position, first.Size);
  std::vector<uint8_t> got2(300);
  SeekData(second, DATA_HALF + 100);
  ReadData(second, got2.data(), 200);
  EXPECT_TRUE(std::equal(got2.begin(), got2.begin() + 200, small.begin() + 100));

  // Closing the first handle frees the upper half.
  CloseDataFile(first);
  EXPECT_TRUE(DataBuffer.SlotABusy);
  EXPECT_FALSE(DataBuffer.SlotBBusy);
  // Closed bytes can still be read until another file is opened over them.
  SeekData(second, DATA_HALF);
  uint8_t byte = 0;
  ReadData(second, &byte, 1);
  EXPECT_EQ(byte, small[0]);
  CloseDataFile(second);
  EXPECT_FALSE(DataBuffer.SlotABusy);

  // A third open goes into the upper half again; the second handle then reads zeros.
  OpenDataFile(first, a.c_str());
  OpenDataFile(second, b.c_str());
  DataFile third;
  OpenDataFile(third, a.c_str());
  EXPECT_EQ(third.Position, DATA_HALF);
  SeekData(second, DATA_HALF);
  byte = 0xEE;
  ReadData(second, &byte, 1);
  EXPECT_EQ(byte, 0);
  SeekData(third, DATA_HALF + 1);
  ReadData(third, &byte, 1);
  EXPECT_EQ(byte, big[1]);
  CloseDataFile(third);
  CloseDataFile(first);
}

TEST_F(DataFileTest, ReadsOutsideTheFileGiveZeros) {
  std::string path = WriteFile("c.bin", {1, 2, 3, 4});
  DataFile f;
  OpenDataFile(f, path.c_str());
  uint8_t out[8];
  memset(out, 0xAA, sizeof out);
  SeekData(f, 2);
  ReadData(f, out, 8);
  uint8_t expected[8] = {3, 4, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(memcmp(out, expected, 8), 0);
  EXPECT_EQ(f.Position, 10);
  SeekData(f, -3);
  memset(out, 0xAA, sizeof out);
  ReadData(f, out, 5);
  uint8_t before[5] = {0, 0, 0, 1, 2};
  EXPECT_EQ(memcmp(out, before, 5), 0);
  SeekData(f, 0x7FFFFFF0);
  ReadData(f, out, 8);
  ReadData(f, out, 8);  // the position does not wrap around
  EXPECT_EQ(out[0], 0);
  EXPECT_GT(f.Position, 0);
  CloseDataFile(f);
}

TEST_F(DataFileTest, EmptyFileAndMemory) {
  std::string path = WriteFile("empty.bin", {});
  DataFile f;
  OpenDataFile(f, path.c_str());
  EXPECT_EQ(f.Position, f.Size);
  EXPECT_TRUE(Errors.empty());
  CloseDataFile(f);

  uint8_t bytes[3] = {5, 6, 7};
  OpenDataMemory(f, bytes, 3);
  uint8_t out[3] = {};
  ReadData(f, out, 3);
  EXPECT_EQ(out[2], 7);
  CloseDataFile(f);
}

TEST_F(DataFileTest, BackslashNamesAndReadOnlyFiles) {
  std::string dir = TempDir() + "/data";
  mkdir(dir.c_str(), 0755);
  std::string path = WriteFile("data/scene.3ds", {42});
  chmod(path.c_str(), 0444);
  std::string windowsName = TempDir() + "\\data\\scene.3ds";
  DataFile f;
  OpenDataFile(f, windowsName.c_str());
  EXPECT_TRUE(Errors.empty());
  uint8_t b = 0;
  ReadData(f, &b, 1);
  EXPECT_EQ(b, 42);
  CloseDataFile(f);
  char mapped[300];
  DataFileName("data\\xmas.3ds", mapped, sizeof mapped);
  EXPECT_STREQ(mapped, "data/xmas.3ds");
}

TEST_F(DataFileTest, FailuresGiveTheirCodes) {
  DataFile f;
  OpenDataFile(f, (TempDir() + "/missing.3ds").c_str());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], 2);
  EXPECT_EQ(f.Position, f.Size);
  OpenDataFile(f, (TempDir() + "/missing/dir/x").c_str());
  EXPECT_EQ(Errors.back(), 2);
  OpenDataFile(f, TempDir().c_str());  // a folder cannot be read as a file
  EXPECT_EQ(Errors.back(), 5);
  if (geteuid() != 0) {
    std::string locked = WriteFile("locked.bin", {1});
    chmod(locked.c_str(), 0);
    OpenDataFile(f, locked.c_str());
    EXPECT_EQ(Errors.back(), 5);
  }
}

TEST(DataFileDeathTest, MissingFileEndsTheProgramWithCode2) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        DataFile f;
        OpenDataFile(f, "data\\no_such_file.3ds");
      },
      ::testing::ExitedWithCode(2), "Runtime error 2");
}
