// frosten-imagegen: draws the show's seven images as PNG files, tells how
// each is encoded, and reports on and lays out the decoded results.
//
//   frosten-imagegen draw OUTDIR                       the seven source images
//   frosten-imagegen list                              "NAME ENCODER-OPTIONS" per image
//   frosten-imagegen report SOURCE DECODED DATA        size and PSNR table (Markdown)
//   frosten-imagegen sheet DECODED DATA OUT.png        contact sheet
//   frosten-imagegen icon OUT.png [--size N]           the desktop icon
#include "tools/common/tool_cli.h"
#include "tools/imagegen/imagegen.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

// Sides: powers of two, divisible by 2^(ENCODE_LEVELS + 1) = 64.
enum { SPRITE_SIDE = 256, SNOW_SIDE = 128, BRANCH_SIDE = 256, BANNER_WIDTH = 512, BANNER_HEIGHT = 256, ICON_SIDE = 128 };

static const char *const USAGE =
    "usage: frosten-imagegen draw OUTDIR\n"
    "       frosten-imagegen list\n"
    "       frosten-imagegen report SOURCE_DIR DECODED_DIR DATA_DIR\n"
    "       frosten-imagegen sheet DECODED_DIR DATA_DIR OUT.png\n"
    "       frosten-imagegen icon OUT.png [--size N]   (16 to 1024 pixels, default 128)\n";

static bool Save(const std::string &dir, const char *name, const PngImage &image) {
  std::string path = dir + "/" + name + ".png";
  char error[256];
  if (!WritePng(path.c_str(), image, error, sizeof error)) {
    fprintf(stderr, "frosten-imagegen: %s\n", error);  // the reason names the file
    return false;
  }
  return true;
}

static bool Fonts(FontSet &fonts) {
  char error[512];
  if (LoadFonts(fonts, error, sizeof error)) return true;
  fprintf(stderr, "frosten-imagegen: %s\n", error);
  FreeFonts(fonts);
  return false;
}

static int Draw(const char *outDir) {
  FontSet fonts;
  if (!Fonts(fonts)) return 1;
  std::string dir = outDir;
  ColourAndAlpha branch = DrawBranch(BRANCH_SIDE);
  ColourAndAlpha banner = DrawBanner(fonts, BANNER_WIDTH, BANNER_HEIGHT);
  FreeFonts(fonts);
  bool ok = Save(dir, "flareblu", DrawFlare(SPRITE_SIDE)) && Save(dir, "snowflak", DrawSnowflake(SNOW_SIDE)) &&
            Save(dir, "hwlshin5", DrawShine(SPRITE_SIDE)) && Save(dir, "xmastree", branch.Colour) &&
            Save(dir, "xmastrea", branch.Alpha) && Save(dir, "xmasband", banner.Colour) &&
            Save(dir, "xmasbana", banner.Alpha);
  return ok ? 0 : 1;
}

static int List() {
  for (const ShowImage &image : SHOW_IMAGES)
    printf("%s --levels %d --quality %d%s\n", image.Name, (int)ENCODE_LEVELS, (int)image.Quality,
           image.Grey ? " --grey" : "");
  return 0;
}

static int Report(const char *sourceDir, const char *decodedDir, const char *dataDir) {
  printf("| File | Size | Bytes | PSNR | Quality | Shows |\n|---|---|---|---|---|---|\n");
  long total = 0;
  for (const ShowImage &image : SHOW_IMAGES) {
    PngImage source, decoded;
    char error[512];
    if (!LoadDecoded(sourceDir, image.Name, source, error, sizeof error) ||
        !LoadDecoded(decodedDir, image.Name, decoded, error, sizeof error)) {
      fprintf(stderr, "frosten-imagegen: %s\n", error);
      return 1;
    }
    std::string path = std::string(dataDir) + "/" + image.Name + ".hwl";
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
      fprintf(stderr, "frosten-imagegen: %s: no such file\n", path.c_str());
      return 1;
    }
    double psnr = Psnr(source, decoded);
    if (psnr < 0) {
      fprintf(stderr, "frosten-imagegen: %s: decoded image differs in shape from its source\n", image.Name);
      return 1;
    }
    total += (long)info.st_size;
    printf("| `%s.hwl` | %dx%d %s | %ld | %.1f dB | %d | %s |\n", image.Name, source.Width, source.Height,
           image.Grey ? "grey" : "colour", (long)info.st_size, psnr, (int)image.Quality, image.Description);
  }
  printf("| all seven | | %ld | | | |\n", total);
  return 0;
}

static int Sheet(const char *decodedDir, const char *dataDir, const char *outFile) {
  FontSet fonts;
  char error[512];
  if (!Fonts(fonts)) return 1;
  bool ok = DrawContactSheet(fonts, decodedDir, dataDir, outFile, error, sizeof error);
  FreeFonts(fonts);
  if (!ok) fprintf(stderr, "frosten-imagegen: %s\n", error);
  return ok ? 0 : 1;
}

// The snowflake sprite, white on a round night-blue disc with a soft rim, as
// an RGBA image of side x side pixels for the desktop.
static int Icon(const char *outFile, int side) {
  PngImage flake = DrawSnowflake(side);
  PngImage icon{side, side, 4, std::vector<uint8_t>((size_t)side * side * 4)};
  const float night[3] = {18, 38, 92};
  const float centre = (side - 1) / 2.0f, radius = side / 2.0f - 1;
  for (int y = 0; y < side; y++) {
    for (int x = 0; x < side; x++) {
      size_t i = (size_t)y * side + x;
      float white = flake.Pixels[i * flake.Channels] / 255.0f;
      float edge = radius - std::hypot(x - centre, y - centre);
      float cover = edge >= 1 ? 1 : edge <= 0 ? 0 : edge;
      for (int c = 0; c < 3; c++) icon.Pixels[i * 4 + c] = (uint8_t)std::lround(night[c] + (255 - night[c]) * white);
      icon.Pixels[i * 4 + 3] = (uint8_t)std::lround(255 * cover);
    }
  }
  char error[256];
  if (!WritePng(outFile, icon, error, sizeof error)) ToolFail("%s", error);  // the reason names the file
  return 0;
}

// COMMAND needs COUNT arguments after it.
static void Needs(int argc, int count, const char *command, const char *what) {
  if (argc != count + 2) ToolUsageError("%s needs %s", command, what);
}

int main(int argc, char **argv) {
  ToolStart("frosten-imagegen", USAGE, argc, argv);
  if (argc < 2) ToolUsageError(nullptr);
  const char *command = argv[1];
  if (!strcmp(command, "draw")) return Needs(argc, 1, command, "OUTDIR"), Draw(argv[2]);
  if (!strcmp(command, "list")) return Needs(argc, 0, command, "no arguments"), List();
  if (!strcmp(command, "report"))
    return Needs(argc, 3, command, "SOURCE_DIR DECODED_DIR DATA_DIR"), Report(argv[2], argv[3], argv[4]);
  if (!strcmp(command, "sheet")) return Needs(argc, 3, command, "DECODED_DIR DATA_DIR OUT.png"), Sheet(argv[2], argv[3], argv[4]);
  if (!strcmp(command, "icon")) {
    if (argc == 5 && !strcmp(argv[3], "--size")) return Icon(argv[2], ToolIntValue("--size", argv[4], 16, 1024));
    return Needs(argc, 1, command, "OUT.png [--size N]"), Icon(argv[2], ICON_SIDE);
  }
  ToolUsageError("unknown command %s", command);
}
