// The contact sheet: the seven decoded images side by side, sprites on black
// (they are drawn additively), alpha pictures over a checkerboard, the
// branch twice to show that it repeats, and the banner at its screen shape
// and faded as the overlay fades it, each with a label.
#include "tools/imagegen/imagegen.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

constexpr int32_t SHEET_MARGIN = 24, SHEET_GAP = 24, LABEL_HEIGHT = 40, TITLE_HEIGHT = 48, CHECKER = 16;

struct SheetImages {
  PngImage Pictures[SHOW_IMAGE_COUNT];  // in the order of SHOW_IMAGES
  long FileSizes[SHOW_IMAGE_COUNT];
};

static const PngImage &Find(const SheetImages &images, const char *name) {
  for (int i = 0; i < SHOW_IMAGE_COUNT; i++)
    if (std::string(SHOW_IMAGES[i].Name) == name) return images.Pictures[i];
  return images.Pictures[0];
}

static long FileSize(const char *name, const SheetImages &images) {
  for (int i = 0; i < SHOW_IMAGE_COUNT; i++)
    if (std::string(SHOW_IMAGES[i].Name) == name) return images.FileSizes[i];
  return 0;
}

// A Cairo surface of a decoded picture, with alpha from a second grey
// picture of the same size or opaque.
static cairo_surface_t *PictureSurface(const PngImage &colour, const PngImage *alpha) {
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, colour.Width, colour.Height);
  uint8_t *data = cairo_image_surface_get_data(surface);
  int32_t stride = cairo_image_surface_get_stride(surface);
  for (int32_t y = 0; y < colour.Height; y++) {
    uint32_t *row = (uint32_t *)(data + (size_t)y * stride);
    for (int32_t x = 0; x < colour.Width; x++) {
      size_t i = (size_t)y * colour.Width + x;
      const uint8_t *p = &colour.Pixels[i * colour.Channels];
      uint32_t r = p[0], g = colour.Channels >= 3 ? p[1] : p[0], b = colour.Channels >= 3 ? p[2] : p[0];
      uint32_t a = alpha ? alpha->Pixels[i * alpha->Channels] : 255;
      row[x] = (a << 24) | ((r * a + 127) / 255 << 16) | ((g * a + 127) / 255 << 8) | ((b * a + 127) / 255);
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

static void Checkerboard(cairo_t *cr, float x, float y, float width, float height) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, width, height);
  cairo_clip(cr);
  for (int j = 0; j * CHECKER < height; j++) {
    for (int i = 0; i * CHECKER < width; i++) {
      float grey = ((i + j) % 2) ? 0.62f : 0.82f;
      cairo_set_source_rgb(cr, grey, grey, grey);
      cairo_rectangle(cr, x + i * CHECKER, y + j * CHECKER, CHECKER, CHECKER);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

// Paints a surface into the box, scaled to fill it, with an opacity.
static void Paint(cairo_t *cr, cairo_surface_t *surface, float x, float y, float width, float height,
                  float opacity = 1.0f) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, width / cairo_image_surface_get_width(surface), height / cairo_image_surface_get_height(surface));
  cairo_rectangle(cr, 0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
  cairo_clip(cr);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint_with_alpha(cr, opacity);
  cairo_restore(cr);
}

static void Label(cairo_t *cr, const FontSet &fonts, float x, float y, const char *title, const char *detail) {
  cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
  cairo_set_font_face(cr, fonts.Sans);
  cairo_set_font_size(cr, 14);
  cairo_move_to(cr, x, y + 17);
  cairo_show_text(cr, title);
  cairo_set_source_rgb(cr, 0.70, 0.74, 0.80);
  cairo_set_font_size(cr, 11);
  cairo_move_to(cr, x, y + 33);
  cairo_show_text(cr, detail);
}

static std::string Detail(const PngImage &picture, long fileSize, const char *extra) {
  char text[256];
  snprintf(text, sizeof text, "%dx%d %s, %ld bytes%s", picture.Width, picture.Height,
           picture.Channels == 1 ? "grey" : "colour", fileSize, extra);
  return text;
}

// One file's picture in a box with its label beneath.
static void Cell(cairo_t *cr, const FontSet &fonts, const SheetImages &images, const char *name, float x, float y,
                 float width, float height, bool onBlack, const char *extra) {
  const PngImage &picture = Find(images, name);
  if (onBlack) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, x, y, width, height);
    cairo_fill(cr);
  }
  cairo_surface_t *surface = PictureSurface(picture, nullptr);
  Paint(cr, surface, x, y, width, height);
  cairo_surface_destroy(surface);
  std::string title = std::string(name) + ".hwl";
  Label(cr, fonts, x, y + height, title.c_str(), Detail(picture, FileSize(name, images), extra).c_str());
}

static bool LoadAll(const char *decodedDir, const char *dataDir, SheetImages &images, char *error, int errorSize) {
  for (int i = 0; i < SHOW_IMAGE_COUNT; i++) {
    if (!LoadDecoded(decodedDir, SHOW_IMAGES[i].Name, images.Pictures[i], error, errorSize)) return false;
    std::string path = std::string(dataDir) + "/" + SHOW_IMAGES[i].Name + ".hwl";
    struct stat info;
    images.FileSizes[i] = stat(path.c_str(), &info) == 0 ? (long)info.st_size : 0;
  }
  const char *pairs[2][2] = {{"xmastree", "xmastrea"}, {"xmasband", "xmasbana"}};
  for (auto &pair : pairs) {
    const PngImage &colour = Find(images, pair[0]), &alpha = Find(images, pair[1]);
    if (colour.Width != alpha.Width || colour.Height != alpha.Height || alpha.Channels != 1) {
      snprintf(error, errorSize, "%s and %s differ in size or %s is not grey", pair[0], pair[1], pair[1]);
      return false;
    }
  }
  return true;
}

bool DrawContactSheet(const FontSet &fonts, const char *decodedDir, const char *dataDir, const char *outFile,
                      char *error, int errorSize) {
  SheetImages images;
  if (!LoadAll(decodedDir, dataDir, images, error, errorSize)) return false;
  const float bannerWidth = 256.0f * BANNER_ASPECT;
  const int32_t width = (int32_t)(2 * SHEET_MARGIN + 3 * bannerWidth + 2 * SHEET_GAP);
  const int32_t row = 256 + LABEL_HEIGHT + SHEET_GAP;
  const int32_t height = 2 * SHEET_MARGIN + TITLE_HEIGHT + 4 * row - SHEET_GAP;
  cairo_surface_t *sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t *cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.13, 0.15, 0.19);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_font_face(cr, fonts.Serif);
  cairo_set_font_size(cr, 24);
  cairo_move_to(cr, SHEET_MARGIN, SHEET_MARGIN + 24);
  cairo_show_text(cr, "Frosten: the show's seven images, decoded from data/*.hwl");

  float x0 = SHEET_MARGIN, y = SHEET_MARGIN + TITLE_HEIGHT;
  // Sprites, drawn additively in the show: shown on black.
  Cell(cr, fonts, images, "flareblu", x0, y, 256, 256, true, ", additive");
  Cell(cr, fonts, images, "hwlshin5", x0 + 256 + SHEET_GAP, y, 256, 256, true, ", additive");
  Cell(cr, fonts, images, "snowflak", x0 + 2 * (256 + SHEET_GAP), y, 256, 256, true, ", additive, shown 2x");

  // The fir branch: colour, alpha, and twice side by side over a checkerboard.
  y += row;
  Cell(cr, fonts, images, "xmastree", x0, y, 256, 256, false, "");
  Cell(cr, fonts, images, "xmastrea", x0 + 256 + SHEET_GAP, y, 256, 256, false, ", alpha");
  cairo_surface_t *branch = PictureSurface(Find(images, "xmastree"), &Find(images, "xmastrea"));
  float bx = x0 + 2 * (256 + SHEET_GAP);
  Checkerboard(cr, bx, y, 512, 256);
  Paint(cr, branch, bx, y, 256, 256);
  Paint(cr, branch, bx + 256, y, 256, 256);
  cairo_surface_destroy(branch);
  Label(cr, fonts, bx, y + 256, "xmastree + xmastrea", "over a checkerboard, two repeats side by side");

  // The banner as stored.
  y += row;
  Cell(cr, fonts, images, "xmasband", x0, y, 512, 256, false, "");
  Cell(cr, fonts, images, "xmasbana", x0 + 512 + SHEET_GAP, y, 512, 256, false, ", alpha");

  // The banner at its shape on screen, over a checkerboard and faded as the
  // overlay fades it, over the light fog colour and a dark green.
  y += row;
  cairo_surface_t *banner = PictureSurface(Find(images, "xmasband"), &Find(images, "xmasbana"));
  Checkerboard(cr, x0, y, bannerWidth, 256);
  Paint(cr, banner, x0, y, bannerWidth, 256);
  Label(cr, fonts, x0, y + 256, "xmasband + xmasbana", "over a checkerboard, at its shape on screen");
  const float fades[2] = {0.2f, 0.6f};
  for (int i = 0; i < 2; i++) {
    float bx2 = x0 + (i + 1) * (bannerWidth + SHEET_GAP);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_rectangle(cr, bx2, y, bannerWidth, 128);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.06, 0.22, 0.10);
    cairo_rectangle(cr, bx2, y + 128, bannerWidth, 128);
    cairo_fill(cr);
    Paint(cr, banner, bx2, y, bannerWidth, 256, fades[i]);
    char title[64];
    snprintf(title, sizeof title, "banner at %d%% alpha", (int)(fades[i] * 100 + 0.5f));
    Label(cr, fonts, bx2, y + 256, title, "over the fog grey (top) and dark green (bottom)");
  }
  cairo_surface_destroy(banner);
  cairo_destroy(cr);

  cairo_status_t status = cairo_surface_write_to_png(sheet, outFile);
  cairo_surface_destroy(sheet);
  if (status != CAIRO_STATUS_SUCCESS) {
    snprintf(error, errorSize, "%s: %s", outFile, cairo_status_to_string(status));
    return false;
  }
  return true;
}
