// The show's seven images, drawn procedurally: sprites, fir branch, banner.
#pragma once

#include "tools/common/png_file.h"

#include <cairo.h>
#include <cstdint>
#include <vector>

struct Colour {
  float R, G, B;
};

// A picture in progress: Width x Height pixels of three floats (0..1 and
// beyond; values are clamped when the picture becomes a PNG), rows top down.
struct FloatPicture {
  int32_t Width;
  int32_t Height;
  std::vector<float> Pixels;  // R, G, B per pixel
};

// The generator's own random sequence, so that every run draws the same.
struct RandomState {
  uint32_t Seed;
};

// Cairo text faces loaded from font files by path.
struct FontSet {
  cairo_font_face_t *Serif;  // DejaVu Serif Bold: the greeting
  cairo_font_face_t *Sans;   // DejaVu Sans Bold: the show's name, labels
};

// A drawn image with alpha: colour and alpha become two files.
struct ColourAndAlpha {
  PngImage Colour;  // RGB
  PngImage Alpha;   // grey
};

// ---- random numbers
float RandomFloat(RandomState &random);  // [0, 1)
float RandomRange(RandomState &random, float low, float high);

// ---- arithmetic
float Smoothstep(float edge0, float edge1, float x);
float Gauss(float x, float width);  // exp(-(x / width)^2)
Colour MixColour(Colour a, Colour b, float t);

// ---- pictures
FloatPicture NewPicture(int32_t width, int32_t height);
void AddPixel(FloatPicture &picture, int32_t x, int32_t y, Colour colour, float amount);
// Clamped and rounded to bytes: RGB (channels 3) or the mean of the three (channels 1).
PngImage PictureToPng(const FloatPicture &picture, int32_t channels);
// Gaussian blur of a one-channel plane, separable, edges treated as black.
std::vector<float> BlurPlane(const std::vector<float> &plane, int32_t width, int32_t height, float sigma);

// ---- cairo surfaces
cairo_surface_t *NewSurface(int32_t width, int32_t height);
// Grey image from a surface drawn white on transparent (its alpha coverage).
std::vector<float> SurfaceCoverage(cairo_surface_t *surface);
// Colour (un-premultiplied; transparent pixels take the colour of the drawing
// nearby, further out the background colour) and alpha of an ARGB surface.
ColourAndAlpha SurfaceToColourAndAlpha(cairo_surface_t *surface, Colour background);
void SetColour(cairo_t *cr, Colour colour, float alpha = 1.0f);

// ---- fonts
bool LoadFonts(FontSet &fonts, char *error, int errorSize);
void FreeFonts(FontSet &fonts);

// ---- the seven images
PngImage DrawFlare(int32_t side);      // flareblu: colour
PngImage DrawSnowflake(int32_t side);  // snowflak: grey
PngImage DrawShine(int32_t side);      // hwlshin5: grey
ColourAndAlpha DrawBranch(int32_t side);                         // xmastree + xmastrea
ColourAndAlpha DrawBanner(const FontSet &fonts, int32_t width, int32_t height);  // xmasband + xmasbana

// The banner is shown 0.7592 x 0.5174 on the 4:3 overlay, so its texture is
// drawn in a logical space of that shape and stretched to the texture sides.
constexpr float BANNER_ASPECT = 0.7592f / 0.5174f;

// ---- the files, how they are encoded and what they show
struct ShowImage {
  const char *Name;  // file name without ".png" / ".hwl"
  int32_t Quality;   // encoder quality, 1 ... 100
  bool Grey;         // one grey plane instead of three colour planes
  const char *Description;
};
enum { SHOW_IMAGE_COUNT = 7, ENCODE_LEVELS = 5 };
extern const ShowImage SHOW_IMAGES[SHOW_IMAGE_COUNT];

// ---- comparing and showing decoded images (PNG files in folders)
// Peak signal-to-noise ratio in dB over all samples; infinity when equal,
// a negative value when the images differ in shape.
double Psnr(const PngImage &a, const PngImage &b);
bool LoadDecoded(const char *dir, const char *name, PngImage &image, char *error, int errorSize);
bool DrawContactSheet(const FontSet &fonts, const char *decodedDir, const char *dataDir, const char *outFile,
                      char *error, int errorSize);
