// Textures on the GL: the upload's shrink, filter and compression rules read
// back from the GL, HWL files as RGBA, and the loaders' error paths.
// frosten-test: x11
#include "launcher/glcaps.h"
#include "scene/datafile.h"
#include "tests/gl_window.h"
#include "tools/common/hwl_encode.h"
#include "textures/texture.h"

#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static std::string TempFile(const char *name) { return std::string(FROSTEN_BINARY_DIR) + "/test_texture_" + name; }

static std::string WriteFile(const char *name, const std::vector<uint8_t> &bytes) {
  std::string path = TempFile(name);
  FILE *f = fopen(path.c_str(), "wb");
  EXPECT_TRUE(f);
  if (f) {
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  return path;
}

// An HWL file of a width x height image (channels 1 or 3) filled by pixel(x, y, c).
template <typename Pixel>
static std::string WriteHwl(const char *name, int width, int height, int channels, Pixel pixel) {
  std::vector<uint8_t> image((size_t)width * height * channels);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      for (int c = 0; c < channels; c++) image[((size_t)y * width + x) * channels + c] = pixel(x, y, c);
  std::vector<uint8_t> file;
  char error[200];
  EXPECT_TRUE(encodeHwl(image.data(), width, height, channels, HwlEncodeSettings{-1, 100}, file, error, sizeof error))
      << error;
  return WriteFile(name, file);
}

static GLint LevelValue(int level, GLenum what) {
  GLint v = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &v);
  return v;
}

static GLint TexValue(GLenum what) {
  GLint v = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, what, &v);
  return v;
}

static std::vector<uint8_t> ReadBack(GLuint name) {
  glBindTexture(GL_TEXTURE_2D, name);
  std::vector<uint8_t> rgba((size_t)LevelValue(0, GL_TEXTURE_WIDTH) * LevelValue(0, GL_TEXTURE_HEIGHT) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

// The capabilities the texture code reads, restored after each test.
struct TextureTest : testing::Test {
  int32_t SavedMax = MaxTextureSize;
  bool SavedCompression = UseTexCompression;
  void SetUp() override {
    if (!OpenGLTestWindow()) GTEST_SKIP() << "no X display";
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    MaxTextureSize = max;
    UseTexCompression = false;
  }
  void TearDown() override {
    MaxTextureSize = SavedMax;
    UseTexCompression = SavedCompression;
    EXPECT_EQ(PendingGLError(), (GLenum)GL_NO_ERROR);
  }
};

// Left half red, right half blue, 4 bytes per pixel.
static std::vector<uint8_t> SplitImage(uint32_t w, uint32_t h) {
  std::vector<uint8_t> p((size_t)w * h * 4);
  for (uint32_t y = 0; y < h; y++)
    for (uint32_t x = 0; x < w; x++) {
      uint8_t *q = &p[((size_t)y * w + x) * 4];
      q[0] = x < w / 2 ? 255 : 0;
      q[2] = x < w / 2 ? 0 : 255;
    }
  return p;
}

TEST_F(TextureTest, ImagesAboveTheMaximumAreScaledToAMaximumSquare) {
  MaxTextureSize = 512;
  std::vector<uint8_t> wide = SplitImage(1024, 512);
  GLuint name = createTexture(wide.data(), 1024, 512, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_WIDTH), 512);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_HEIGHT), 512);
  std::vector<uint8_t> back = ReadBack(name);
  // The halves are squeezed, not cut: red on the left, blue on the right.
  const uint8_t *left = &back[(100 * 512 + 60) * 4], *right = &back[(400 * 512 + 450) * 4];
  EXPECT_EQ(left[0], 255);
  EXPECT_EQ(left[2], 0);
  EXPECT_EQ(left[3], 255);
  EXPECT_EQ(right[0], 0);
  EXPECT_EQ(right[2], 255);
  // The caller's image is untouched by the scaling (only its alpha was set).
  EXPECT_EQ(wide[0], 255);
  EXPECT_EQ(wide[3], 255);

  std::vector<uint8_t> atMax = SplitImage(512, 512), flat = SplitImage(512, 256);
  createTexture(atMax.data(), 512, 512, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_WIDTH), 512);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_HEIGHT), 512);
  createTexture(flat.data(), 512, 256, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_WIDTH), 512);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_HEIGHT), 256);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_NE(bound, 0) << "the new texture stays bound";
}

TEST_F(TextureTest, FiltersWrapAndMipmaps) {
  std::vector<uint8_t> image = SplitImage(64, 32);
  createTexture(image.data(), 64, 32, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(TexValue(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(TexValue(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(TexValue(GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(TexValue(GL_TEXTURE_WRAP_T), GL_REPEAT);
  EXPECT_EQ(LevelValue(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps for GL_NEAREST";

  createTexture(image.data(), 64, 32, GL_RGBA, GL_LINEAR_MIPMAP_NEAREST, GL_CLAMP, 255, false, false, false);
  EXPECT_EQ(TexValue(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
  EXPECT_EQ(TexValue(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(TexValue(GL_TEXTURE_WRAP_S), GL_CLAMP);
  EXPECT_EQ(TexValue(GL_TEXTURE_WRAP_T), GL_CLAMP);
  EXPECT_EQ(LevelValue(1, GL_TEXTURE_WIDTH), 32);
  EXPECT_EQ(LevelValue(1, GL_TEXTURE_HEIGHT), 16);
  EXPECT_EQ(LevelValue(6, GL_TEXTURE_WIDTH), 1) << "the chain runs down to 1 x 1";
  EXPECT_EQ(LevelValue(6, GL_TEXTURE_HEIGHT), 1);

  createTexture(image.data(), 64, 32, GL_RGBA, GL_LINEAR, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(TexValue(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(LevelValue(1, GL_TEXTURE_WIDTH), 0);

  EXPECT_EQ(magnificationFilter(GL_NEAREST_MIPMAP_NEAREST), (GLenum)GL_NEAREST);
  EXPECT_EQ(magnificationFilter(GL_NEAREST_MIPMAP_LINEAR), (GLenum)GL_NEAREST);
  EXPECT_EQ(magnificationFilter(GL_LINEAR_MIPMAP_LINEAR), (GLenum)GL_LINEAR);
}

TEST_F(TextureTest, CompressionOnlyWhenAskedAndAllowed) {
  std::vector<uint8_t> image = SplitImage(64, 64);
  createTexture(image.data(), 64, 64, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, true);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA) << "requested but not allowed";
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_COMPRESSED_ARB), GL_FALSE);

  UseTexCompression = true;
  createTexture(image.data(), 64, 64, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(LevelValue(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA) << "allowed but not requested";
  if (glutExtensionSupported("GL_ARB_texture_compression")) {
    createTexture(image.data(), 64, 64, GL_RGBA, GL_LINEAR_MIPMAP_NEAREST, GL_REPEAT, 255, false, false, true);
    EXPECT_NE(LevelValue(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA) << "asked and allowed";
  }
}

TEST_F(TextureTest, MemoryImagesTakeAlphaAndInversion) {
  uint8_t rgb[2 * 3] = {10, 20, 30, 200, 100, 0};
  const uint8_t rgbBefore[6] = {10, 20, 30, 200, 100, 0};
  GLuint name = createTexture(rgb, 2, 1, GL_RGBA, GL_NEAREST, GL_REPEAT, 77, true, true, false);
  EXPECT_EQ(0, memcmp(rgb, rgbBefore, 6)) << "a three-byte source is converted in a copy";
  std::vector<uint8_t> back = ReadBack(name);
  EXPECT_EQ(back, (std::vector<uint8_t>{245, 235, 225, 77, 55, 155, 255, 77}));

  uint8_t rgba[4] = {1, 2, 3, 4};
  createTexture(rgba, 1, 1, GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false, false);
  EXPECT_EQ(rgba[3], 255) << "a four-byte source takes its alpha in place";
}

TEST_F(TextureTest, HwlFilesBecomeRgbaInChannelOrder) {
  std::string grey = WriteHwl("grey.hwl", 64, 64, 1, [](int x, int y, int) { return (uint8_t)(x * 3 + y); });
  GLuint name = loadTexture(grey.c_str(), GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false);
  ASSERT_NE(name, 0u);
  std::vector<uint8_t> back = ReadBack(name);
  ASSERT_EQ(back.size(), 64u * 64 * 4);
  int greyish = 0;
  for (size_t i = 0; i < back.size(); i += 4) {
    greyish += back[i] == back[i + 1] && back[i + 1] == back[i + 2] && back[i + 3] == 255;
    EXPECT_NEAR(back[i], (int)((i / 4) % 64 * 3 + (i / 4) / 64), 3);
  }
  EXPECT_EQ(greyish, 64 * 64) << "grey images load as R = G = B, opaque";

  // Colour: red, green and blue land in their own bytes (the decoder's blue
  // first order is swapped), the alpha comes from the alpha file.
  std::string colour = WriteHwl("colour.hwl", 64, 64, 3, [](int, int, int c) { return (uint8_t)(c == 0 ? 200 : c == 1 ? 120 : 40); });
  std::string alpha = WriteHwl("alpha.hwl", 64, 64, 1, [](int x, int, int) { return (uint8_t)(x < 32 ? 0 : 255); });
  name = loadTextureWithAlpha(colour.c_str(), alpha.c_str(), GL_RGBA, GL_NEAREST, GL_REPEAT, false, false);
  back = ReadBack(name);
  EXPECT_NEAR(back[0], 200, 2);
  EXPECT_NEAR(back[1], 120, 2);
  EXPECT_NEAR(back[2], 40, 2);
  EXPECT_NEAR(back[3], 0, 2);
  EXPECT_NEAR(back[(10 * 64 + 50) * 4 + 3], 255, 2);

  name = loadTextureWithAlpha(colour.c_str(), "", GL_RGBA, GL_NEAREST, GL_REPEAT, true, false);
  back = ReadBack(name);
  for (size_t i = 3; i < back.size(); i += 4) ASSERT_EQ(back[i], 255) << "no alpha file: opaque";
  EXPECT_NEAR(back[0], 55, 2) << "inverted";
  EXPECT_NEAR(back[2], 215, 2);

  name = loadTexture(colour.c_str(), GL_RGBA, GL_NEAREST, GL_REPEAT, 90, false, false);
  EXPECT_EQ(ReadBack(name)[3], 90);
  for (auto &f : {grey, colour, alpha}) remove(f.c_str());
}

static std::string ReportedFile, ReportedReason;
static int ReportCount, DataErrorCode;
static void RecordTextureError(const char *fileName, const char *reason) {
  ReportedFile = fileName;
  ReportedReason = reason;
  ReportCount++;
}
static void RecordDataError(int code, const char *) { DataErrorCode = code; }

TEST_F(TextureTest, UndecodableFilesAreReportedWithNameAndReason) {
  TextureErrorHandler savedTexture = TextureError;
  DataErrorHandler savedData = DataError;
  TextureError = RecordTextureError;
  DataError = RecordDataError;
  GLuint before = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, (GLint *)&before);

  std::string colour = WriteHwl("c.hwl", 64, 64, 3, [](int x, int, int) { return (uint8_t)x; });
  std::string grey = WriteHwl("g.hwl", 64, 64, 1, [](int, int y, int) { return (uint8_t)y; });
  std::string small = WriteHwl("s.hwl", 32, 64, 1, [](int, int, int) { return (uint8_t)1; });
  // A 16-bit depth in an otherwise good file.
  FILE *f = fopen(grey.c_str(), "rb");
  std::vector<uint8_t> bytes(100000);
  bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
  fclose(f);
  bytes[7] = 16;
  std::string deep = WriteFile("deep.hwl", bytes);

  struct Case {
    std::string Colour, Alpha, File, ReasonPart;
  } cases[] = {
      {deep, "", deep, "bits per pixel"},
      {colour, deep, deep, "bits per pixel"},
      {colour, small, small, "32x64"},
      {colour, colour, colour, "24 bits per pixel"},
      {WriteFile("empty.hwl", {'H', 'W', 'L'}), "", TempFile("empty.hwl"), "shorter"},
  };
  for (const Case &c : cases) {
    ReportCount = 0;
    GLuint name = c.Alpha.empty() ? loadTexture(c.Colour.c_str(), GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false)
                                  : loadTextureWithAlpha(c.Colour.c_str(), c.Alpha.c_str(), GL_RGBA, GL_NEAREST,
                                                         GL_REPEAT, false, false);
    EXPECT_EQ(name, 0u) << c.File;
    EXPECT_EQ(ReportCount, 1) << c.File;
    EXPECT_EQ(ReportedFile, c.File);
    EXPECT_NE(ReportedReason.find(c.ReasonPart), std::string::npos) << ReportedReason;
  }
  GLint after = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &after);
  EXPECT_EQ((GLuint)after, before) << "no texture is made for a failed file";

  // A missing file goes to the data reader's hook (the run-time error report).
  DataErrorCode = 0;
  loadTexture(TempFile("missing.hwl").c_str(), GL_RGBA, GL_NEAREST, GL_REPEAT, 255, false, false);
  EXPECT_EQ(DataErrorCode, 2);

  TextureError = savedTexture;
  DataError = savedData;
  for (auto &name : {colour, grey, small, deep, TempFile("empty.hwl")}) remove(name.c_str());
}
