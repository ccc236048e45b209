// xmasband + xmasbana: the corner banner. A red plaque with a gold frame and
// a cap of snow, holly in two corners, gold stars, "Merry Christmas" in
// large gold letters and the show's name beneath. The letters are light
// with a dark outline, so that they stay readable over the light snowy
// scene and over the dark tree when the banner fades to a fifth.
//
// The banner is shown at BANNER_ASPECT, so it is drawn in a logical space
// of that shape (256 units high) and stretched to the texture's sides. Its
// texture coordinates wander up to 0.03 beyond the edges, so a margin stays
// transparent all round.
#include "tools/imagegen/imagegen.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

static const float PI = std::numbers::pi_v<float>;
static const Colour PLAQUE_TOP = {0.74f, 0.06f, 0.10f};
static const Colour PLAQUE_BOTTOM = {0.42f, 0.02f, 0.06f};
static const Colour GOLD = {1.0f, 0.80f, 0.30f};
static const Colour GOLD_DARK = {0.72f, 0.48f, 0.10f};
static const Colour INK = {0.16f, 0.01f, 0.03f};  // letter outlines
static const Colour HOLLY = {0.05f, 0.36f, 0.12f};
static const Colour HOLLY_LIGHT = {0.20f, 0.56f, 0.22f};
static const Colour BERRY = {0.86f, 0.05f, 0.08f};
static const Colour SNOW = {0.97f, 0.98f, 1.0f};
static const Colour SNOW_SHADE = {0.72f, 0.80f, 0.92f};

struct BannerLayout {
  float Width, Height;  // logical units
  float Left, Top, Right, Bottom, Corner;  // the plaque
};

static void RoundedRectangle(cairo_t *cr, float left, float top, float right, float bottom, float radius) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, right - radius, top + radius, radius, -PI / 2, 0);
  cairo_arc(cr, right - radius, bottom - radius, radius, 0, PI / 2);
  cairo_arc(cr, left + radius, bottom - radius, radius, PI / 2, PI);
  cairo_arc(cr, left + radius, top + radius, radius, PI, 3 * PI / 2);
  cairo_close_path(cr);
}

static void Plaque(cairo_t *cr, const BannerLayout &b) {
  RoundedRectangle(cr, b.Left, b.Top, b.Right, b.Bottom, b.Corner);
  cairo_pattern_t *gradient = cairo_pattern_create_linear(0, b.Top, 0, b.Bottom);
  cairo_pattern_add_color_stop_rgb(gradient, 0, PLAQUE_TOP.R, PLAQUE_TOP.G, PLAQUE_TOP.B);
  cairo_pattern_add_color_stop_rgb(gradient, 1, PLAQUE_BOTTOM.R, PLAQUE_BOTTOM.G, PLAQUE_BOTTOM.B);
  cairo_set_source(cr, gradient);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(gradient);
  SetColour(cr, GOLD_DARK);
  cairo_set_line_width(cr, 3.0);
  cairo_stroke(cr);
  // Gold frame inside the edge, with a thin second line.
  RoundedRectangle(cr, b.Left + 6, b.Top + 6, b.Right - 6, b.Bottom - 6, b.Corner - 6);
  SetColour(cr, GOLD);
  cairo_set_line_width(cr, 3.5);
  cairo_stroke(cr);
  RoundedRectangle(cr, b.Left + 12, b.Top + 12, b.Right - 12, b.Bottom - 12, b.Corner - 12);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

static void Star(cairo_t *cr, float x, float y, float radius, Colour colour) {
  for (int k = 0; k < 10; k++) {
    float r = (k % 2) ? radius * 0.42f : radius;
    float a = -PI / 2 + k * PI / 5;
    if (k == 0) cairo_move_to(cr, x + r * std::cos(a), y + r * std::sin(a));
    else cairo_line_to(cr, x + r * std::cos(a), y + r * std::sin(a));
  }
  cairo_close_path(cr);
  SetColour(cr, colour);
  cairo_fill_preserve(cr);
  SetColour(cr, GOLD_DARK);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

// A holly leaf from (x, y) pointing along angle: a pointed oval whose edge
// dips between five spines on each side.
static void HollyLeaf(cairo_t *cr, float x, float y, float angle, float length, float width) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  const int spines = 5;
  for (int side = 1; side >= -1; side -= 2) {
    for (int i = 0; i <= spines; i++) {
      float t = (side > 0) ? (float)i / spines : 1.0f - (float)i / spines;
      float halfWidth = width * 0.5f * std::sin(PI * t) * side;
      if (side > 0 && i == 0) cairo_move_to(cr, 0, 0);
      else cairo_line_to(cr, t * length, halfWidth * 1.15f);
      if (i < spines) {
        // The dip towards the next spine.
        float tn = (side > 0) ? (float)(i + 1) / spines : 1.0f - (float)(i + 1) / spines;
        float tm = 0.5f * (t + tn);
        cairo_line_to(cr, tm * length, 0.62f * width * 0.5f * std::sin(PI * tm) * side);
      }
    }
  }
  cairo_close_path(cr);
  cairo_pattern_t *gradient = cairo_pattern_create_linear(0, -width * 0.5, 0, width * 0.5);
  cairo_pattern_add_color_stop_rgb(gradient, 0, HOLLY_LIGHT.R, HOLLY_LIGHT.G, HOLLY_LIGHT.B);
  cairo_pattern_add_color_stop_rgb(gradient, 1, HOLLY.R, HOLLY.G, HOLLY.B);
  cairo_set_source(cr, gradient);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(gradient);
  SetColour(cr, {0.02f, 0.16f, 0.05f});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // The middle vein.
  SetColour(cr, {0.55f, 0.75f, 0.40f}, 0.8f);
  cairo_set_line_width(cr, 0.9);
  cairo_move_to(cr, 1, 0);
  cairo_line_to(cr, length * 0.9f, 0);
  cairo_stroke(cr);
  cairo_restore(cr);
}

static void Berry(cairo_t *cr, float x, float y, float radius) {
  cairo_pattern_t *gradient = cairo_pattern_create_radial(x - radius * 0.35, y - radius * 0.35, radius * 0.1, x, y, radius);
  cairo_pattern_add_color_stop_rgb(gradient, 0, 1.0, 0.55, 0.50);
  cairo_pattern_add_color_stop_rgb(gradient, 0.35, BERRY.R, BERRY.G, BERRY.B);
  cairo_pattern_add_color_stop_rgb(gradient, 1, 0.45, 0.0, 0.03);
  cairo_arc(cr, x, y, radius, 0, 2 * PI);
  cairo_set_source(cr, gradient);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
}

// Three leaves and three berries round a point; mirror flips left and right.
static void HollySprig(cairo_t *cr, float x, float y, float scale, float turn) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, turn);
  cairo_scale(cr, scale, scale);
  HollyLeaf(cr, 0, 0, -PI * 0.92f, 42, 19);
  HollyLeaf(cr, 0, 0, -PI * 0.30f, 40, 18);
  HollyLeaf(cr, 0, 0, PI * 0.38f, 34, 16);
  Berry(cr, -3, 3, 6.0f);
  Berry(cr, 7, 1, 5.6f);
  Berry(cr, 2, -6, 5.4f);
  cairo_restore(cr);
}

// Snow lying along the plaque's top edge, with a few short icicles.
static void SnowCap(cairo_t *cr, const BannerLayout &b) {
  RandomState random = {0x5a0c4a11};
  float left = b.Left + 4, right = b.Right - 4;
  const Colour colours[2] = {SNOW_SHADE, SNOW};
  for (int layer = 0; layer < 2; layer++) {
    RandomState replay = random;
    cairo_new_path(cr);
    for (float x = left + 4; x < right - 4; x += 6.0f) {
      float edge = std::min(x - left, right - x);
      float radius = RandomRange(replay, 6.5f, 10.0f) * std::min(1.0f, 0.35f + edge / 50.0f);
      float y = b.Top - 0.4f * radius + RandomRange(replay, -1.0f, 1.0f) + (layer ? -1.5f : 1.0f);
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, y, radius * (layer ? 0.85f : 1.0f), 0, 2 * PI);
    }
    // A flat band under the lumps so that the cap has no holes.
    cairo_rectangle(cr, left + 8, b.Top - 3 + (layer ? -1.5f : 1.0f), right - left - 16, 6);
    SetColour(cr, colours[layer]);
    cairo_fill(cr);
  }
  for (float x = left + 30; x < right - 30; x += RandomRange(random, 26.0f, 48.0f)) {
    float length = RandomRange(random, 6.0f, 12.0f);
    cairo_move_to(cr, x - 2.2, b.Top + 4);
    cairo_line_to(cr, x + 2.2, b.Top + 4);
    cairo_line_to(cr, x + 0.3, b.Top + 4 + length);
    cairo_close_path(cr);
    SetColour(cr, {0.88f, 0.93f, 1.0f});
    cairo_fill(cr);
  }
}

// The outline path of text with its pen starting at (x, y) and spacing
// added between letters.
static void LetterPath(cairo_t *cr, const char *text, float x, float y, float spacing) {
  cairo_new_path(cr);
  for (const char *c = text; *c; c++) {
    char one[2] = {*c, 0};
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, one);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, one, &extents);
    x += (float)extents.x_advance + spacing;
  }
}

// Text centred on x with its baseline at y, outlined and filled with a
// vertical gold gradient, over a soft drop shadow. Returns its width.
static float GoldText(cairo_t *cr, cairo_font_face_t *face, const char *text, float x, float y, float size,
                      float outline, float spacing) {
  cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  float width = (float)extents.x_advance + spacing * (float)(strlen(text) - 1);
  float pen = x - width * 0.5f;
  LetterPath(cr, text, pen + 1.5f, y + 2.5f, spacing);
  SetColour(cr, {0.0f, 0.0f, 0.0f}, 0.45f);
  cairo_set_line_width(cr, outline * 1.6f);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  LetterPath(cr, text, pen, y, spacing);
  SetColour(cr, INK);
  cairo_set_line_width(cr, outline);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  cairo_pattern_t *gradient = cairo_pattern_create_linear(0, y - size * 0.75f, 0, y);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, 1.0, 0.98, 0.86);
  cairo_pattern_add_color_stop_rgb(gradient, 0.55, 1.0, 0.86, 0.42);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, 0.95, 0.68, 0.16);
  cairo_set_source(cr, gradient);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
  return width;
}

// The largest size up to maximum at which text fits in width.
static float FitSize(cairo_t *cr, cairo_font_face_t *face, const char *text, float width, float maximum) {
  cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, 100.0);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  return std::min(maximum, width / (float)extents.x_advance * 100.0f);
}

ColourAndAlpha DrawBanner(const FontSet &fonts, int32_t width, int32_t height) {
  BannerLayout b;
  b.Height = 256.0f;
  b.Width = b.Height * BANNER_ASPECT;
  b.Left = 14;
  b.Right = b.Width - 14;
  b.Top = 38;
  b.Bottom = b.Height - 18;
  b.Corner = 24;

  cairo_surface_t *surface = NewSurface(width, height);
  cairo_t *cr = cairo_create(surface);
  cairo_scale(cr, width / b.Width, height / b.Height);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

  Plaque(cr, b);
  float middle = 0.5f * b.Width;
  float textWidth = b.Right - b.Left - 64;
  float merrySize = FitSize(cr, fonts.Serif, "Christmas", textWidth, 58);
  GoldText(cr, fonts.Serif, "Merry", middle, 112, merrySize, 5.0f, 0);
  GoldText(cr, fonts.Serif, "Christmas", middle, 168, merrySize, 5.0f, 0);
  float nameWidth = GoldText(cr, fonts.Sans, "FROSTEN", middle, 208, 22, 3.5f, 4.0f);
  Star(cr, middle - nameWidth * 0.5f - 16, 200, 7, GOLD);
  Star(cr, middle + nameWidth * 0.5f + 16, 200, 7, GOLD);
  Star(cr, b.Right - 40, 66, 9, GOLD);
  Star(cr, b.Right - 62, 84, 5, GOLD);
  Star(cr, b.Left + 38, 196, 6, GOLD);
  Star(cr, b.Left + 56, 212, 4, GOLD);
  SnowCap(cr, b);
  HollySprig(cr, b.Left + 36, b.Top + 22, 0.9f, 0.2f);
  HollySprig(cr, b.Right - 26, b.Bottom - 16, 0.8f, PI + 0.4f);
  cairo_destroy(cr);

  ColourAndAlpha result = SurfaceToColourAndAlpha(surface, PLAQUE_BOTTOM);
  cairo_surface_destroy(surface);
  return result;
}
