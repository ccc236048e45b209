// PNG files for the tools and tests: 8-bit grey, RGB or RGBA, row 0 at top.
#pragma once

#include <cstdint>
#include <vector>

struct PngImage {
  int32_t Width;
  int32_t Height;
  int32_t Channels;  // 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA
  std::vector<uint8_t> Pixels;  // Width * Height * Channels, rows top to bottom
};

// Reads any PNG and converts it to 8 bits per channel (palette to RGB,
// 16-bit to 8-bit, tRNS to alpha). Returns false with a one-line reason in
// error (at least 256 bytes) for a missing, damaged or oversized file.
bool ReadPng(const char *fileName, PngImage &image, char *error, int errorSize);
bool WritePng(const char *fileName, const PngImage &image, char *error, int errorSize);
