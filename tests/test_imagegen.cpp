// The image generator's own procedures: colour and alpha from a drawing, the
// blur, the PSNR measure, and the drawings' shapes before any encoding.
// frosten-test-links: tooling
#include "tools/imagegen/imagegen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

static const uint8_t *Rgb(const PngImage &image, int x, int y) {
  return &image.Pixels[((size_t)y * image.Width + x) * image.Channels];
}

TEST(ImagegenPicture, ColourAndAlphaUnpremultiplyAndBleedIntoTheGaps) {
  cairo_surface_t *surface = NewSurface(32, 16);
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 0.8, 0.1, 0.1, 0.5);  // half-transparent red square
  cairo_rectangle(cr, 12, 4, 6, 6);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 0.1, 0.2, 0.9, 1.0);  // opaque blue bar on the left edge
  cairo_rectangle(cr, 0, 12, 2, 4);
  cairo_fill(cr);
  cairo_destroy(cr);
  ColourAndAlpha result = SurfaceToColourAndAlpha(surface, {0.0f, 1.0f, 0.0f});
  cairo_surface_destroy(surface);

  ASSERT_EQ(result.Colour.Channels, 3);
  ASSERT_EQ(result.Alpha.Channels, 1);
  // Inside the square: its plain colour, not darkened by its alpha.
  EXPECT_NEAR(Rgb(result.Colour, 14, 6)[0], 204, 2);
  EXPECT_NEAR(Rgb(result.Colour, 14, 6)[1], 26, 2);
  EXPECT_NEAR(*Rgb(result.Alpha, 14, 6), 128, 1);
  // Just outside: transparent, but red rather than the green background.
  EXPECT_EQ(*Rgb(result.Alpha, 11, 6), 0);
  EXPECT_GT(Rgb(result.Colour, 11, 6)[0], 150);
  EXPECT_LT(Rgb(result.Colour, 11, 6)[1], 80);
  // Far away: the background exactly.
  EXPECT_EQ(Rgb(result.Colour, 26, 1)[0], 0);
  EXPECT_EQ(Rgb(result.Colour, 26, 1)[1], 255);
  // The bar's colour bleeds round the left edge to the right one, as a
  // repeating texture samples it.
  EXPECT_GT(Rgb(result.Colour, 31, 14)[2], 180);
}

TEST(ImagegenPicture, BlurKeepsTheTotalAndSpreadsEvenly) {
  const int side = 33;
  std::vector<float> plane(side * side, 0.0f);
  plane[16 * side + 16] = 1.0f;
  std::vector<float> blurred = BlurPlane(plane, side, side, 2.0f);
  float total = 0.0f;
  for (float v : blurred) total += v;
  EXPECT_NEAR(total, 1.0f, 1e-4f);
  EXPECT_LT(blurred[16 * side + 16], 0.1f);
  EXPECT_FLOAT_EQ(blurred[16 * side + 13], blurred[16 * side + 19]);
  EXPECT_FLOAT_EQ(blurred[13 * side + 16], blurred[16 * side + 13]);
}

TEST(ImagegenPicture, PsnrOfEqualDifferentAndMismatchedImages) {
  PngImage a = {4, 4, 1, std::vector<uint8_t>(16, 100)};
  PngImage b = a;
  EXPECT_TRUE(std::isinf(Psnr(a, b)));
  b.Pixels[0] = 101;  // one sample off by one in sixteen
  EXPECT_NEAR(Psnr(a, b), 10.0 * std::log10(255.0 * 255.0 * 16.0), 1e-9);
  PngImage c = {4, 4, 3, std::vector<uint8_t>(48, 100)};
  EXPECT_LT(Psnr(a, c), 0.0);
}

// The snowflake is a six-armed crystal: turning it by 60 degrees about its
// middle gives the same picture, up to resampling.
TEST(ImagegenDrawings, SnowflakeHasSixFoldSymmetry) {
  PngImage flake = DrawSnowflake(128);
  ASSERT_EQ(flake.Channels, 1);
  const float half = 64.0f, turn = std::numbers::pi_v<float> / 3.0f;
  double difference = 0.0, brightness = 0.0;
  for (int y = 0; y < 128; y++) {
    for (int x = 0; x < 128; x++) {
      float px = x + 0.5f - half, py = y + 0.5f - half;
      int rx = (int)std::lround(px * std::cos(turn) - py * std::sin(turn) + half - 0.5f);
      int ry = (int)std::lround(px * std::sin(turn) + py * std::cos(turn) + half - 0.5f);
      if (rx < 0 || ry < 0 || rx >= 128 || ry >= 128) continue;
      difference += std::abs((int)*Rgb(flake, x, y) - (int)*Rgb(flake, rx, ry));
      brightness += *Rgb(flake, x, y);
    }
  }
  EXPECT_LT(difference / brightness, 0.25) << "resampling blurs thin arms, but a lost arm would double this";
  EXPECT_GE(*Rgb(flake, 64, 64), 200);
}

// Colour sprites tinted by the light: the flare is blue-white, never red.
TEST(ImagegenDrawings, FlareIsBlueWhite) {
  PngImage flare = DrawFlare(256);
  ASSERT_EQ(flare.Channels, 3);
  const uint8_t *middle = Rgb(flare, 128, 128);
  EXPECT_GE(middle[0], 250);
  EXPECT_GE(middle[2], 250);
  double red = 0, blue = 0;
  for (size_t i = 0; i < flare.Pixels.size(); i += 3) {
    red += flare.Pixels[i];
    blue += flare.Pixels[i + 2];
  }
  EXPECT_GT(blue, 1.5 * red);
}

// The banner's text needs the fonts; the drawing is the same shape at any
// texture size: gold lettering with the ground clear round it.
TEST(ImagegenDrawings, BannerDrawsWithTheFontsAtEitherWidth) {
  FontSet fonts;
  char error[512];
  ASSERT_TRUE(LoadFonts(fonts, error, sizeof error)) << error;
  ColourAndAlpha wide = DrawBanner(fonts, 512, 256);
  ColourAndAlpha narrow = DrawBanner(fonts, 256, 256);
  FreeFonts(fonts);
  ASSERT_EQ(wide.Colour.Width, 512);
  ASSERT_EQ(narrow.Colour.Width, 256);
  for (const ColourAndAlpha *banner : {&wide, &narrow}) {
    int w = banner->Alpha.Width, opaque = 0, gold = 0;
    EXPECT_EQ(*Rgb(banner->Alpha, 2, 2), 0);
    EXPECT_EQ(*Rgb(banner->Alpha, w - 3, 253), 0);
    // Along the middle of "Christmas": gold letters, opaque.
    for (int x = 0; x < w; x++) {
      opaque += *Rgb(banner->Alpha, x, 150) == 255;
      const uint8_t *p = Rgb(banner->Colour, x, 150);
      gold += *Rgb(banner->Alpha, x, 150) == 255 && p[0] > 220 && p[1] > 150 && p[2] < 150;
    }
    EXPECT_GT(gold, w / 25);
    EXPECT_LT(opaque, w * 3 / 4);
  }
}
