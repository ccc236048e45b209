#include "tools/common/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

enum { MAX_PNG_SIDE = 16384 };

static void PngFail(png_structp png, png_const_charp message) {
  char *error = (char *)png_get_error_ptr(png);
  snprintf(error, 256, "%s", message);
  png_longjmp(png, 1);
}

static void PngWarn(png_structp, png_const_charp) {}

// The libpng reading, kept apart from anything with a destructor because of
// the longjmp out of its error handler.
static bool ReadPngRows(FILE *file, PngImage &image, char *error) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, error, PngFail, PngWarn);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    snprintf(error, 256, "out of memory");
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_bytep *volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    delete[] rows;
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_user_limits(png, MAX_PNG_SIDE, MAX_PNG_SIDE);
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  image.Width = (int32_t)png_get_image_width(png, info);
  image.Height = (int32_t)png_get_image_height(png, info);
  image.Channels = png_get_channels(png, info);
  image.Pixels.assign((size_t)image.Width * image.Height * image.Channels, 0);
  rows = new png_bytep[image.Height];
  for (int y = 0; y < image.Height; y++) rows[y] = image.Pixels.data() + (size_t)y * image.Width * image.Channels;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  delete[] rows;
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

bool ReadPng(const char *fileName, PngImage &image, char *error, int errorSize) {
  char reason[256] = "";
  FILE *file = fopen(fileName, "rb");
  if (!file) {
    snprintf(error, errorSize, "%s: cannot open: %s", fileName, strerror(errno));
    return false;
  }
  bool ok = ReadPngRows(file, image, reason);
  fclose(file);
  if (!ok) snprintf(error, errorSize, "%s: not a readable PNG: %s", fileName, reason);
  return ok;
}

static bool WritePngRows(FILE *file, const PngImage &image, char *error) {
  static const int colourTypes[5] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                     PNG_COLOR_TYPE_RGB_ALPHA};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, PngFail, PngWarn);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    snprintf(error, 256, "out of memory");
    png_destroy_write_struct(&png, &info);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, image.Width, image.Height, 8, colourTypes[image.Channels], PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.Height; y++)
    png_write_row(png, image.Pixels.data() + (size_t)y * image.Width * image.Channels);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool WritePng(const char *fileName, const PngImage &image, char *error, int errorSize) {
  if (image.Channels < 1 || image.Channels > 4 || image.Width <= 0 || image.Height <= 0 ||
      image.Pixels.size() < (size_t)image.Width * image.Height * image.Channels) {
    snprintf(error, errorSize, "%s: bad image dimensions", fileName);
    return false;
  }
  // Written under a temporary name beside it and renamed when complete, so
  // that a failure or an interruption never leaves a truncated picture
  // under the name asked for.
  std::string partial = std::string(fileName) + ".partial";
  FILE *file = fopen(partial.c_str(), "wb");
  if (!file) {
    snprintf(error, errorSize, "%s: cannot create: %s", fileName, strerror(errno));
    return false;
  }
  char reason[256] = "";
  bool ok = WritePngRows(file, image, reason);
  if (fclose(file) != 0 && ok) {
    snprintf(reason, sizeof reason, "%s", strerror(errno));
    ok = false;
  }
  if (ok && rename(partial.c_str(), fileName) != 0) {
    snprintf(reason, sizeof reason, "%s", strerror(errno));
    ok = false;
  }
  if (!ok) {
    unlink(partial.c_str());
    snprintf(error, errorSize, "%s: cannot write PNG: %s", fileName, reason);
  }
  return ok;
}
