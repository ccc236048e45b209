// snowflak: the sprite of every snow particle, a six-armed crystal, white on
// black with soft edges and a faint glow, so that it reads at any size.
#include "tools/imagegen/imagegen.h"

#include <cmath>
#include <numbers>

static void Segment(cairo_t *cr, float x0, float y0, float x1, float y1, float width) {
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

static void Hexagon(cairo_t *cr, float radius) {
  for (int k = 0; k < 6; k++) {
    float a = (k * 60.0f + 90.0f) * std::numbers::pi_v<float> / 180.0f;
    if (k == 0) cairo_move_to(cr, radius * std::cos(a), radius * std::sin(a));
    else cairo_line_to(cr, radius * std::cos(a), radius * std::sin(a));
  }
  cairo_close_path(cr);
}

// One arm pointing along +x, from the centre to length.
static void Arm(cairo_t *cr, float length, float unit) {
  Segment(cr, 0, 0, length, 0, 2.6f * unit);
  struct Branch {
    float At, Length, Width;
  };
  const Branch branches[] = {{0.34f, 0.20f, 1.9f}, {0.56f, 0.30f, 1.9f}, {0.76f, 0.22f, 1.6f}, {0.90f, 0.10f, 1.4f}};
  const float c = std::cos(std::numbers::pi_v<float> / 3), s = std::sin(std::numbers::pi_v<float> / 3);
  for (const Branch &b : branches) {
    float x = b.At * length, l = b.Length * length;
    Segment(cr, x, 0, x + c * l, s * l, b.Width * unit);
    Segment(cr, x, 0, x + c * l, -s * l, b.Width * unit);
  }
  // A small diamond at the tip.
  cairo_move_to(cr, length - 3.0f * unit, 0);
  cairo_line_to(cr, length, -1.8f * unit);
  cairo_line_to(cr, length + 2.2f * unit, 0);
  cairo_line_to(cr, length, 1.8f * unit);
  cairo_close_path(cr);
  cairo_fill(cr);
}

PngImage DrawSnowflake(int32_t side) {
  float unit = side / 128.0f;  // the design is made for 128 pixels
  cairo_surface_t *surface = NewSurface(side, side);
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_translate(cr, side * 0.5, side * 0.5);
  float length = 50.0f * unit;
  for (int k = 0; k < 6; k++) {
    cairo_save(cr);
    cairo_rotate(cr, (k * 60.0f - 90.0f) * std::numbers::pi_v<float> / 180.0f);
    Arm(cr, length, unit);
    cairo_restore(cr);
  }
  Hexagon(cr, 10.0f * unit);
  cairo_set_line_width(cr, 2.0f * unit);
  cairo_stroke(cr);
  Hexagon(cr, 5.0f * unit);
  cairo_fill(cr);
  cairo_destroy(cr);

  std::vector<float> shape = SurfaceCoverage(surface);
  cairo_surface_destroy(surface);
  std::vector<float> soft = BlurPlane(shape, side, side, 0.9f * unit);
  std::vector<float> glow = BlurPlane(shape, side, side, 4.0f * unit);
  FloatPicture picture = NewPicture(side, side);
  float half = side * 0.5f;
  for (int32_t y = 0; y < side; y++) {
    for (int32_t x = 0; x < side; x++) {
      size_t i = (size_t)y * side + x;
      float r = std::hypot(x + 0.5f - half, y + 0.5f - half) / half;
      float window = 1.0f - Smoothstep(0.88f, 0.99f, r);
      float v = 0.55f * shape[i] + 0.55f * soft[i] + 0.45f * glow[i];
      AddPixel(picture, x, y, {1.0f, 1.0f, 1.0f}, v * window);
    }
  }
  return PictureToPng(picture, 1);
}
