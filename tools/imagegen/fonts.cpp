// Fonts for the banner and the contact sheet, loaded from DejaVu's files by
// path (never through a font lookup that could pick another face), and
// rendered without hinting so that every run gives the same outlines.
#include "tools/imagegen/imagegen.h"

#include <cairo-ft.h>
#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H

static const char *const FONT_DIR = "/usr/share/fonts/truetype/dejavu/";

static FT_Library FreeType;

static cairo_font_face_t *LoadFace(const char *fileName, char *error, int errorSize) {
  char path[512];
  snprintf(path, sizeof path, "%s%s", FONT_DIR, fileName);
  FT_Face face;
  if (FT_New_Face(FreeType, path, 0, &face) != 0) {
    snprintf(error, errorSize, "cannot load font %s (Debian package fonts-dejavu-core)", path);
    return nullptr;
  }
  // FreeType frees the face with the library in FreeFonts.
  return cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
}

bool LoadFonts(FontSet &fonts, char *error, int errorSize) {
  fonts = {nullptr, nullptr};
  if (!FreeType && FT_Init_FreeType(&FreeType) != 0) {
    snprintf(error, errorSize, "cannot start FreeType");
    return false;
  }
  fonts.Serif = LoadFace("DejaVuSerif-Bold.ttf", error, errorSize);
  if (!fonts.Serif) return false;
  fonts.Sans = LoadFace("DejaVuSans-Bold.ttf", error, errorSize);
  return fonts.Sans != nullptr;
}

void FreeFonts(FontSet &fonts) {
  if (fonts.Serif) cairo_font_face_destroy(fonts.Serif);
  if (fonts.Sans) cairo_font_face_destroy(fonts.Sans);
  fonts = {nullptr, nullptr};
  cairo_debug_reset_static_data();  // cairo's font caches hold the faces
  if (FreeType) FT_Done_FreeType(FreeType);
  FreeType = nullptr;
}
