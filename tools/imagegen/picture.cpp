// Float pictures, random numbers and the conversions from Cairo surfaces.
#include "tools/imagegen/imagegen.h"

#include <algorithm>
#include <cmath>

float RandomFloat(RandomState &random) {
  // xorshift32: small, fast and the same on every machine.
  uint32_t x = random.Seed;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  random.Seed = x;
  return (float)(x >> 8) / 16777216.0f;
}

float RandomRange(RandomState &random, float low, float high) {
  return low + (high - low) * RandomFloat(random);
}

float Smoothstep(float edge0, float edge1, float x) {
  float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float Gauss(float x, float width) {
  float t = x / width;
  return std::exp(-t * t);
}

Colour MixColour(Colour a, Colour b, float t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

FloatPicture NewPicture(int32_t width, int32_t height) {
  FloatPicture picture;
  picture.Width = width;
  picture.Height = height;
  picture.Pixels.assign((size_t)width * height * 3, 0.0f);
  return picture;
}

void AddPixel(FloatPicture &picture, int32_t x, int32_t y, Colour colour, float amount) {
  float *p = &picture.Pixels[((size_t)y * picture.Width + x) * 3];
  p[0] += colour.R * amount;
  p[1] += colour.G * amount;
  p[2] += colour.B * amount;
}

static uint8_t ToByte(float v) {
  return (uint8_t)std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f);
}

PngImage PictureToPng(const FloatPicture &picture, int32_t channels) {
  PngImage image;
  image.Width = picture.Width;
  image.Height = picture.Height;
  image.Channels = channels;
  size_t count = (size_t)picture.Width * picture.Height;
  image.Pixels.resize(count * channels);
  for (size_t i = 0; i < count; i++) {
    const float *p = &picture.Pixels[i * 3];
    if (channels == 1) {
      image.Pixels[i] = ToByte((p[0] + p[1] + p[2]) / 3.0f);
    } else {
      for (int c = 0; c < 3; c++) image.Pixels[i * 3 + c] = ToByte(p[c]);
    }
  }
  return image;
}

static void BlurLine(const float *in, float *out, int32_t count, int32_t stride, const std::vector<float> &kernel) {
  int32_t radius = (int32_t)kernel.size() / 2;
  for (int32_t i = 0; i < count; i++) {
    float sum = 0.0f;
    for (int32_t k = -radius; k <= radius; k++) {
      int32_t j = i + k;
      if (j >= 0 && j < count) sum += in[(size_t)j * stride] * kernel[k + radius];
    }
    out[(size_t)i * stride] = sum;
  }
}

std::vector<float> BlurPlane(const std::vector<float> &plane, int32_t width, int32_t height, float sigma) {
  int32_t radius = (int32_t)std::ceil(sigma * 3.0f);
  std::vector<float> kernel(2 * radius + 1);
  float total = 0.0f;
  for (int32_t k = -radius; k <= radius; k++) total += kernel[k + radius] = std::exp(-0.5f * k * k / (sigma * sigma));
  for (float &k : kernel) k /= total;
  std::vector<float> across(plane.size()), result(plane.size());
  for (int32_t y = 0; y < height; y++) BlurLine(&plane[(size_t)y * width], &across[(size_t)y * width], width, 1, kernel);
  for (int32_t x = 0; x < width; x++) BlurLine(&across[x], &result[x], height, width, kernel);
  return result;
}

cairo_surface_t *NewSurface(int32_t width, int32_t height) {
  // A new image surface is cleared to transparent black.
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

std::vector<float> SurfaceCoverage(cairo_surface_t *surface) {
  cairo_surface_flush(surface);
  int32_t width = cairo_image_surface_get_width(surface);
  int32_t height = cairo_image_surface_get_height(surface);
  int32_t stride = cairo_image_surface_get_stride(surface);
  const uint8_t *data = cairo_image_surface_get_data(surface);
  std::vector<float> plane((size_t)width * height);
  for (int32_t y = 0; y < height; y++) {
    const uint32_t *row = (const uint32_t *)(data + (size_t)y * stride);
    for (int32_t x = 0; x < width; x++) plane[(size_t)y * width + x] = (float)(row[x] >> 24) / 255.0f;
  }
  return plane;
}

// Spreads the colours of the drawn pixels a few pixels out into the
// transparent ones (wrapping at the edges, like a repeating texture), so
// that filtering at a shape's edge blends with the shape's own colour,
// fading into the background colour that fills the rest.
static void BleedColours(std::vector<float> &rgb, std::vector<uint8_t> &filled, int32_t width, int32_t height,
                         Colour background) {
  const int passes = 6;
  std::vector<uint8_t> next = filled;
  for (int pass = 0; pass < passes; pass++) {
    for (int32_t y = 0; y < height; y++) {
      for (int32_t x = 0; x < width; x++) {
        size_t i = (size_t)y * width + x;
        if (filled[i]) continue;
        const int32_t nx[4] = {(x + width - 1) % width, (x + 1) % width, x, x};
        const int32_t ny[4] = {y, y, (y + height - 1) % height, (y + 1) % height};
        float sum[3] = {0, 0, 0};
        int count = 0;
        for (int k = 0; k < 4; k++) {
          size_t j = (size_t)ny[k] * width + nx[k];
          if (!filled[j]) continue;
          for (int c = 0; c < 3; c++) sum[c] += rgb[j * 3 + c];
          count++;
        }
        if (count == 0) continue;
        // Each ring outwards moves a step towards the background, so the
        // spread colours end without an edge.
        const float back[3] = {background.R, background.G, background.B};
        float t = (pass + 1.0f) / passes;
        for (int c = 0; c < 3; c++) rgb[i * 3 + c] = sum[c] / count + (back[c] - sum[c] / count) * t;
        next[i] = 1;
      }
    }
    filled = next;
  }
  for (size_t i = 0; i < filled.size(); i++) {
    if (filled[i]) continue;
    rgb[i * 3] = background.R;
    rgb[i * 3 + 1] = background.G;
    rgb[i * 3 + 2] = background.B;
  }
}

ColourAndAlpha SurfaceToColourAndAlpha(cairo_surface_t *surface, Colour background) {
  cairo_surface_flush(surface);
  int32_t width = cairo_image_surface_get_width(surface);
  int32_t height = cairo_image_surface_get_height(surface);
  int32_t stride = cairo_image_surface_get_stride(surface);
  const uint8_t *data = cairo_image_surface_get_data(surface);
  size_t count = (size_t)width * height;
  std::vector<float> rgb(count * 3, 0.0f);
  std::vector<uint8_t> filled(count, 0);
  ColourAndAlpha result;
  result.Alpha = {width, height, 1, std::vector<uint8_t>(count)};
  for (int32_t y = 0; y < height; y++) {
    const uint32_t *row = (const uint32_t *)(data + (size_t)y * stride);
    for (int32_t x = 0; x < width; x++) {
      uint32_t p = row[x], a = p >> 24;
      size_t i = (size_t)y * width + x;
      result.Alpha.Pixels[i] = (uint8_t)a;
      // Faint edge pixels take their colour from the drawing beside them: the
      // plain colour of a barely covered pixel is mostly rounding noise.
      if (a < 64) continue;
      // Cairo keeps colours premultiplied by alpha; the texture wants them plain.
      rgb[i * 3] = (float)((p >> 16) & 255) / (float)a;
      rgb[i * 3 + 1] = (float)((p >> 8) & 255) / (float)a;
      rgb[i * 3 + 2] = (float)(p & 255) / (float)a;
      filled[i] = 1;
    }
  }
  BleedColours(rgb, filled, width, height, background);
  result.Colour = {width, height, 3, std::vector<uint8_t>(count * 3)};
  for (size_t i = 0; i < count * 3; i++) result.Colour.Pixels[i] = ToByte(rgb[i]);
  return result;
}

void SetColour(cairo_t *cr, Colour colour, float alpha) {
  cairo_set_source_rgba(cr, colour.R, colour.G, colour.B, alpha);
}
