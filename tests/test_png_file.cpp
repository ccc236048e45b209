// frosten-test-links: tooling
#include "tools/common/png_file.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>

static std::string TempName(const char *name) { return std::string(FROSTEN_BINARY_DIR) + "/" + name; }

TEST(PngFile, RoundTripsEveryChannelCount) {
  for (int channels = 1; channels <= 4; channels++) {
    PngImage image{5, 3, channels, {}};
    for (int i = 0; i < 5 * 3 * channels; i++) image.Pixels.push_back((uint8_t)(i * 37 + channels));
    char error[256];
    std::string name = TempName("roundtrip.png");
    ASSERT_TRUE(WritePng(name.c_str(), image, error, sizeof error)) << error;
    PngImage back{};
    ASSERT_TRUE(ReadPng(name.c_str(), back, error, sizeof error)) << error;
    EXPECT_EQ(back.Width, 5);
    EXPECT_EQ(back.Height, 3);
    EXPECT_EQ(back.Channels, channels);
    EXPECT_EQ(back.Pixels, image.Pixels);
  }
}

TEST(PngFile, DamagedAndMissingFilesGiveAReason) {
  char error[256] = "";
  PngImage image{};
  EXPECT_FALSE(ReadPng(TempName("does-not-exist.png").c_str(), image, error, sizeof error));
  EXPECT_NE(std::string(error).find("cannot open"), std::string::npos);

  PngImage good{16, 16, 3, std::vector<uint8_t>(16 * 16 * 3, 200)};
  std::string name = TempName("damaged.png");
  ASSERT_TRUE(WritePng(name.c_str(), good, error, sizeof error));
  // Cut the file in the middle of its image data.
  FILE *file = fopen(name.c_str(), "rb");
  std::string bytes(4096, '\0');
  bytes.resize(fread(bytes.data(), 1, bytes.size(), file));
  fclose(file);
  file = fopen(name.c_str(), "wb");
  fwrite(bytes.data(), 1, bytes.size() - 20, file);
  fclose(file);
  EXPECT_FALSE(ReadPng(name.c_str(), image, error, sizeof error));
  EXPECT_NE(std::string(error).find("not a readable PNG"), std::string::npos) << error;

  PngImage bad{0, 4, 3, {}};
  EXPECT_FALSE(WritePng(name.c_str(), bad, error, sizeof error));
}
