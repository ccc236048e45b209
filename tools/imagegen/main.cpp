// frosten-imagegen: draws the show's seven images as PNG files, and lays
// decoded ones out on a contact sheet.
//
//   frosten-imagegen draw OUTDIR          the seven source images
//   frosten-imagegen sheet DIR OUT.png    contact sheet of DIR/<name>.png
#include "tools/imagegen/imagegen.h"

#include <cstdio>
#include <cstring>
#include <string>

// Sides: powers of two, divisible by 2^(levels + 1) for the encoder.
enum { SPRITE_SIDE = 256, SNOW_SIDE = 128, BRANCH_SIDE = 256, BANNER_WIDTH = 512, BANNER_HEIGHT = 256 };

static bool Save(const std::string &dir, const char *name, const PngImage &image) {
  std::string path = dir + "/" + name + ".png";
  char error[256];
  if (!WritePng(path.c_str(), image, error, sizeof error)) {
    fprintf(stderr, "frosten-imagegen: %s: %s\n", path.c_str(), error);
    return false;
  }
  return true;
}

static int Draw(const char *outDir) {
  FontSet fonts;
  char error[256];
  if (!LoadFonts(fonts, error, sizeof error)) {
    fprintf(stderr, "frosten-imagegen: %s\n", error);
    return 1;
  }
  std::string dir = outDir;
  ColourAndAlpha branch = DrawBranch(BRANCH_SIDE);
  ColourAndAlpha banner = DrawBanner(fonts, BANNER_WIDTH, BANNER_HEIGHT);
  bool ok = Save(dir, "flareblu", DrawFlare(SPRITE_SIDE)) && Save(dir, "snowflak", DrawSnowflake(SNOW_SIDE)) &&
            Save(dir, "hwlshin5", DrawShine(SPRITE_SIDE)) && Save(dir, "xmastree", branch.Colour) &&
            Save(dir, "xmastrea", branch.Alpha) && Save(dir, "xmasband", banner.Colour) &&
            Save(dir, "xmasbana", banner.Alpha);
  return ok ? 0 : 1;
}

static int Sheet(const char *decodedDir, const char *outFile) {
  FontSet fonts;
  char error[512];
  if (!LoadFonts(fonts, error, sizeof error) || !DrawContactSheet(fonts, decodedDir, outFile, error, sizeof error)) {
    fprintf(stderr, "frosten-imagegen: %s\n", error);
    return 1;
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc == 3 && strcmp(argv[1], "draw") == 0) return Draw(argv[2]);
  if (argc == 4 && strcmp(argv[1], "sheet") == 0) return Sheet(argv[2], argv[3]);
  fprintf(stderr,
          "usage: frosten-imagegen draw OUTDIR\n"
          "       frosten-imagegen sheet DECODED_DIR OUT.png\n");
  return 2;
}
