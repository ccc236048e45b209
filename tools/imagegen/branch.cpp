// xmastree + xmastrea: a fir branch for the tree's branch meshes. A woody
// stem runs across the picture with side twigs to both sides, all set with
// needles in dark and light greens, and a little snow on the upper side.
// The stem wraps from the right edge to the left, so the picture repeats
// seamlessly along it; the top and bottom rows stay transparent, so repeats
// across it do not meet. Row 0 is the top, where the snow lies.
#include "tools/imagegen/imagegen.h"

#include <cmath>
#include <numbers>

struct Twig {
  float X0, Y0;      // where it leaves the stem
  float Angle;       // direction in radians (y grows downwards)
  float Length;
  float NeedleLength;
};

static const Colour NEEDLE_DARK = {0.03f, 0.17f, 0.06f};
static const Colour NEEDLE_MID = {0.09f, 0.36f, 0.12f};
static const Colour NEEDLE_LIGHT = {0.30f, 0.58f, 0.22f};
static const Colour WOOD = {0.30f, 0.19f, 0.09f};
static const Colour SNOW = {0.96f, 0.98f, 1.0f};
static const Colour SNOW_SHADE = {0.70f, 0.78f, 0.90f};
static const Colour GAP = {0.05f, 0.19f, 0.08f};  // colour under transparent pixels

static float StemY(float x, float side) {
  return side * 0.5f + side * 0.02f * std::sin(2.0f * std::numbers::pi_v<float> * x / side);
}

// A point along a twig, bending slightly outwards towards its tip.
static void TwigPoint(const Twig &twig, float t, float &x, float &y) {
  float angle = twig.Angle * (1.0f - 0.25f * t);
  float along = t * twig.Length;
  x = twig.X0 + along * std::cos(angle);
  y = twig.Y0 + along * std::sin(angle);
}

static void Needle(cairo_t *cr, float x, float y, float angle, float length, float width, Colour base, Colour tip) {
  float x1 = x + length * std::cos(angle), y1 = y + length * std::sin(angle);
  cairo_pattern_t *gradient = cairo_pattern_create_linear(x, y, x1, y1);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, base.R, base.G, base.B);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, tip.R, tip.G, tip.B);
  cairo_set_source(cr, gradient);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
  cairo_pattern_destroy(gradient);
}

// Needles on both sides of a twig. Back needles are long, dark and spread;
// front needles are shorter, lighter and lie closer to the twig.
static void TwigNeedles(cairo_t *cr, const Twig &twig, RandomState &random, bool front, float unit) {
  float step = (front ? 4.2f : 2.6f) * unit;
  int32_t count = (int32_t)(twig.Length / step);
  for (int32_t i = 1; i <= count; i++) {
    float t = (i - RandomRange(random, 0.0f, 0.6f)) / count;
    float x, y, xn, yn;
    TwigPoint(twig, t, x, y);
    TwigPoint(twig, std::fmin(t + 0.01f, 1.0f), xn, yn);
    float direction = std::atan2(yn - y, xn - x);
    for (int side = -1; side <= 1; side += 2) {
      float spread = front ? RandomRange(random, 0.45f, 0.75f) : RandomRange(random, 0.65f, 1.15f);
      float length = twig.NeedleLength * (1.0f - 0.45f * t) * (front ? 0.75f : 1.0f) * RandomRange(random, 0.85f, 1.1f);
      float shade = RandomFloat(random);
      Colour base = front ? MixColour(NEEDLE_MID, NEEDLE_LIGHT, 0.3f * shade) : MixColour(NEEDLE_DARK, NEEDLE_MID, 0.6f * shade);
      Colour tip = front ? MixColour(NEEDLE_MID, NEEDLE_LIGHT, 0.6f + 0.4f * shade)
                         : MixColour(NEEDLE_MID, NEEDLE_LIGHT, 0.5f * shade);
      Needle(cr, x, y, direction + side * spread, length, (front ? 2.2f : 2.6f) * unit, base, tip);
    }
  }
}

static void TwigWood(cairo_t *cr, const Twig &twig, float width) {
  for (int i = 0; i <= 16; i++) {
    float x, y;
    TwigPoint(twig, i / 16.0f, x, y);
    if (i == 0) cairo_move_to(cr, x, y);
    else cairo_line_to(cr, x, y);
  }
  SetColour(cr, WOOD);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// Snow lying on the upper side of a twig: a lump, thickest in the middle,
// whose top is a little uneven and whose underside follows the twig; white
// on top, blue-grey in the shade beneath.
static void SnowLump(cairo_t *cr, const Twig &twig, float t, float length, RandomState &random, float unit) {
  const int steps = 12;
  float height = RandomRange(random, 5.0f, 7.5f) * unit;
  float bumps[steps + 1];
  for (int i = 0; i <= steps; i++) bumps[i] = RandomRange(random, 0.8f, 1.1f);
  float topX[steps + 1], topY[steps + 1], bottomX[steps + 1], bottomY[steps + 1];
  for (int i = 0; i <= steps; i++) {
    float s = (float)i / steps - 0.5f;  // -0.5 ... 0.5 along the lump
    float x, y, xn, yn;
    TwigPoint(twig, t + s * length / twig.Length, x, y);
    TwigPoint(twig, t + s * length / twig.Length + 0.01f, xn, yn);
    float d = std::hypot(xn - x, yn - y);
    float nx = (yn - y) / d, ny = -(xn - x) / d;  // the normal on the upper side
    if (ny > 0) nx = -nx, ny = -ny;
    float thickness = height * std::pow(std::fmax(0.0f, 1.0f - 4.0f * s * s), 0.6f) * bumps[i];
    topX[i] = x + nx * (thickness + 1.0f * unit);
    topY[i] = y + ny * (thickness + 1.0f * unit);
    bottomX[i] = x - nx * 0.5f * unit;
    bottomY[i] = y - ny * 0.5f * unit;
  }
  cairo_new_path(cr);
  cairo_move_to(cr, bottomX[0], bottomY[0]);
  for (int i = 0; i <= steps; i++) cairo_line_to(cr, topX[i], topY[i]);
  for (int i = steps; i >= 0; i--) cairo_line_to(cr, bottomX[i], bottomY[i]);
  cairo_close_path(cr);
  float middleX = 0.5f * (topX[steps / 2] + bottomX[steps / 2]);
  cairo_pattern_t *gradient =
      cairo_pattern_create_linear(middleX, topY[steps / 2], middleX, bottomY[steps / 2]);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, SNOW.R, SNOW.G, SNOW.B);
  cairo_pattern_add_color_stop_rgb(gradient, 0.55, SNOW.R, SNOW.G, SNOW.B);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, SNOW_SHADE.R, SNOW_SHADE.G, SNOW_SHADE.B);
  cairo_set_source(cr, gradient);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
}

static void TwigSnow(cairo_t *cr, const Twig &twig, RandomState &random, int lumps, float unit) {
  for (int i = 0; i < lumps; i++) {
    float t = (i + RandomRange(random, 0.3f, 0.7f)) / lumps * 0.75f;
    SnowLump(cr, twig, t, RandomRange(random, 18.0f, 26.0f) * unit, random, unit);
  }
}

static std::vector<Twig> BranchTwigs(float side) {
  float unit = side / 256.0f;
  std::vector<Twig> twigs;
  // Six side twigs per repeat, alternating up and down, leaning forwards.
  const int perRepeat = 6;
  for (int k = 0; k < perRepeat; k++) {
    float x0 = (k + 0.3f) * side / perRepeat;
    bool up = (k % 2) == 0;
    float angle = (up ? -1.0f : 1.0f) * (50.0f + 6.0f * ((k * 7) % 3)) * std::numbers::pi_v<float> / 180.0f;
    twigs.push_back({x0, StemY(x0, side), angle, (96.0f + 8.0f * ((k * 5) % 3)) * unit, 22.0f * unit});
  }
  return twigs;
}

// The stem across one repeat, as a run of short straight pieces.
static std::vector<Twig> StemPieces(float side) {
  float unit = side / 256.0f;
  std::vector<Twig> pieces;
  const int count = 8;
  for (int i = 0; i < count; i++) {
    float xa = i * side / count, xb = xa + side / count;
    float ya = StemY(xa, side), yb = StemY(xb, side);
    pieces.push_back({xa, ya, std::atan2(yb - ya, xb - xa), std::hypot(xb - xa, yb - ya), 27.0f * unit});
  }
  return pieces;
}

enum BranchLayer { BACK_NEEDLES, TWIG_WOOD, FRONT_NEEDLES, SNOW_LUMPS, BRANCH_LAYERS };

static void DrawTwigLayer(cairo_t *cr, const Twig &twig, BranchLayer layer, uint32_t seed, float woodWidth,
                          int snowLumps, float unit) {
  RandomState random = {seed | 1u};
  if (layer == BACK_NEEDLES) TwigNeedles(cr, twig, random, false, unit);
  if (layer == TWIG_WOOD) TwigWood(cr, twig, woodWidth);
  if (layer == FRONT_NEEDLES) TwigNeedles(cr, twig, random, true, unit);
  if (layer == SNOW_LUMPS) TwigSnow(cr, twig, random, snowLumps, unit);
}

ColourAndAlpha DrawBranch(int32_t side) {
  float unit = side / 256.0f;
  std::vector<Twig> twigs = BranchTwigs((float)side);
  std::vector<Twig> stem = StemPieces((float)side);
  cairo_surface_t *surface = NewSurface(side, side);
  cairo_t *cr = cairo_create(surface);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Layer by layer, the repeat is drawn three times side by side, each
  // element with its own seed, so the copies are identical and what leaves
  // the picture on one side comes back on the other.
  for (int layer = 0; layer < BRANCH_LAYERS; layer++) {
    for (int copy = -1; copy <= 1; copy++) {
      cairo_save(cr);
      cairo_translate(cr, copy * side, 0);
      uint32_t seed = 0x0f1a0001u + (uint32_t)layer * 977u;
      for (size_t k = 0; k < twigs.size(); k++)
        DrawTwigLayer(cr, twigs[k], (BranchLayer)layer, seed + (uint32_t)k * 7919u, 2.6f * unit,
                      twigs[k].Angle < 0 ? 2 : 1, unit);
      for (size_t i = 0; i < stem.size(); i++)
        DrawTwigLayer(cr, stem[i], (BranchLayer)layer, seed + (uint32_t)(i + 100) * 7919u, 4.5f * unit, (int)(i % 2),
                      unit);
      cairo_restore(cr);
    }
  }
  cairo_destroy(cr);
  ColourAndAlpha result = SurfaceToColourAndAlpha(surface, GAP);
  cairo_surface_destroy(surface);
  return result;
}
