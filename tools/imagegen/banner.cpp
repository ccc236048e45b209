// xmasband + xmasbana: the corner banner. "Merry Christmas" in large
// warm gold letters with the show's name beneath, a sprig of holly and a few
// stars, on a clear ground: the banner sways over the picture's upper part,
// so the scene must show through everywhere but the lettering. The letters
// have a dark outline and a soft dark shadow round them, so that they read
// over the white snow, the grey sky and the dark tree alike, and when the
// banner fades to a fifth.
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
static const Colour GOLD = {1.0f, 0.80f, 0.30f};
static const Colour GOLD_DARK = {0.72f, 0.48f, 0.10f};
static const Colour INK = {0.16f, 0.02f, 0.03f};  // letter outlines
static const Colour SHADOW = {0.04f, 0.02f, 0.03f};
static const Colour HOLLY = {0.05f, 0.36f, 0.12f};
static const Colour HOLLY_LIGHT = {0.20f, 0.56f, 0.22f};
static const Colour BERRY = {0.86f, 0.05f, 0.08f};
static const float SHADOW_ALPHA = 0.62f;

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
// vertical gradient from warm white to gold. Returns its width.
static float GoldText(cairo_t *cr, cairo_font_face_t *face, const char *text, float x, float y, float size,
                      float outline, float spacing) {
  cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  float width = (float)extents.x_advance + spacing * (float)(strlen(text) - 1);
  LetterPath(cr, text, x - width * 0.5f, y, spacing);
  SetColour(cr, INK);
  cairo_set_line_width(cr, outline);
  cairo_stroke_preserve(cr);
  cairo_pattern_t *gradient = cairo_pattern_create_linear(0, y - size * 0.75f, 0, y);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, 1.0, 0.98, 0.88);
  cairo_pattern_add_color_stop_rgb(gradient, 0.55, 1.0, 0.88, 0.46);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, 0.96, 0.70, 0.18);
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

// Everything on the banner but the shadow, in logical units.
static void Lettering(cairo_t *cr, const FontSet &fonts, float width) {
  float middle = 0.5f * width;
  float merrySize = FitSize(cr, fonts.Serif, "Christmas", width - 70, 66);
  GoldText(cr, fonts.Serif, "Merry", middle + 22, 98, merrySize, 5.0f, 0);
  GoldText(cr, fonts.Serif, "Christmas", middle, 164, merrySize, 5.0f, 0);
  float nameWidth = GoldText(cr, fonts.Sans, "FROSTEN", middle, 206, 24, 4.0f, 4.0f);
  Star(cr, middle - nameWidth * 0.5f - 17, 197, 7, GOLD);
  Star(cr, middle + nameWidth * 0.5f + 17, 197, 7, GOLD);
  Star(cr, width - 58, 52, 8, GOLD);
  Star(cr, width - 80, 74, 4.5f, GOLD);
  HollySprig(cr, 70, 62, 0.95f, 0.2f);
}

// A soft shadow of the drawing's coverage: dark, blurred and a little
// offset, in premultiplied pixels under whatever is drawn next.
static void PaintSoftShadow(cairo_surface_t *target, cairo_surface_t *shape, float sigma) {
  int32_t width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
  std::vector<float> shade = BlurPlane(SurfaceCoverage(shape), width, height, sigma);
  cairo_surface_flush(target);
  uint8_t *data = cairo_image_surface_get_data(target);
  int32_t stride = cairo_image_surface_get_stride(target);
  int32_t dx = (int32_t)std::lround(sigma * 0.3f), dy = (int32_t)std::lround(sigma * 0.5f);
  for (int32_t y = 0; y < height; y++) {
    uint32_t *row = (uint32_t *)(data + (size_t)y * stride);
    for (int32_t x = 0; x < width; x++) {
      int32_t sx = x - dx, sy = y - dy;
      float c = (sx < 0 || sy < 0) ? 0.0f : shade[(size_t)sy * width + sx];
      uint32_t a = (uint32_t)std::lround(255.0f * SHADOW_ALPHA * std::min(1.0f, 1.6f * c));
      uint32_t r = (uint32_t)std::lround(SHADOW.R * (float)a), g = (uint32_t)std::lround(SHADOW.G * (float)a),
               b = (uint32_t)std::lround(SHADOW.B * (float)a);
      row[x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  cairo_surface_mark_dirty(target);
}

ColourAndAlpha DrawBanner(const FontSet &fonts, int32_t width, int32_t height) {
  const float logicalHeight = 256.0f, logicalWidth = logicalHeight * BANNER_ASPECT;
  cairo_surface_t *shape = NewSurface(width, height);
  cairo_surface_t *surface = NewSurface(width, height);
  for (cairo_surface_t *target : {shape, surface}) {
    if (target == surface) PaintSoftShadow(surface, shape, 4.0f * (float)height / logicalHeight);
    cairo_t *cr = cairo_create(target);
    cairo_scale(cr, width / logicalWidth, height / logicalHeight);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Lettering(cr, fonts, logicalWidth);
    cairo_destroy(cr);
  }
  ColourAndAlpha result = SurfaceToColourAndAlpha(surface, SHADOW);
  cairo_surface_destroy(shape);
  cairo_surface_destroy(surface);
  return result;
}
