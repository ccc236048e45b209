#include "textures/texture.h"

#include "core/exit_list.h"
#include "launcher/glcaps.h"
#include "platform/message_box.h"
#include "textures/hwl.h"

#include <GL/glext.h>
#include <GL/glu.h>
#include <cstdio>
#include <vector>

static void ShowTextureError(const char *fileName, const char *reason) {
  char text[600];
  snprintf(text, sizeof text, "The texture %s cannot be used: %s.", fileName, reason);
  MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR);
  EndProgram(1);
}

TextureErrorHandler TextureError = ShowTextureError;

void greyToRgba(const uint8_t *grey, uint8_t *rgba, uint32_t count) {
  for (uint32_t i = 0; i < count; i++) rgba[4 * i] = rgba[4 * i + 1] = rgba[4 * i + 2] = grey[i];
}

void swapRedBlue(uint8_t *rgba, uint32_t count) {
  for (uint32_t i = 0; i < count; i++) {
    uint8_t red = rgba[4 * i];
    rgba[4 * i] = rgba[4 * i + 2];
    rgba[4 * i + 2] = red;
  }
}

void setAlpha(uint8_t *rgba, uint32_t count, uint8_t alpha) {
  for (uint32_t i = 0; i < count; i++) rgba[4 * i + 3] = alpha;
}

void invertColour(uint8_t *rgba, uint32_t count) {
  for (uint32_t i = 0; i < count; i++)
    for (int c = 0; c < 3; c++) rgba[4 * i + c] = (uint8_t)(255 - rgba[4 * i + c]);
}

void rgbToRgba(const uint8_t *rgb, uint8_t *rgba, uint32_t count) {
  for (uint32_t i = 0; i < count; i++) {
    rgba[4 * i] = rgb[3 * i];
    rgba[4 * i + 1] = rgb[3 * i + 1];
    rgba[4 * i + 2] = rgb[3 * i + 2];
    rgba[4 * i + 3] = 0;
  }
}

void alphaFromGrey(const uint8_t *grey, uint8_t *rgba, uint32_t count) {
  for (uint32_t i = 0; i < count; i++) rgba[4 * i + 3] = grey[i];
}

GLenum magnificationFilter(GLenum minFilter) {
  if (minFilter == GL_NEAREST || minFilter == GL_NEAREST_MIPMAP_NEAREST || minFilter == GL_NEAREST_MIPMAP_LINEAR)
    return GL_NEAREST;
  return GL_LINEAR;
}

static GLenum CompressedFormat(GLenum internalFormat) {
  if (internalFormat == GL_RGBA) return GL_COMPRESSED_RGBA_ARB;
  if (internalFormat == GL_RGB) return GL_COMPRESSED_RGB_ARB;
  return internalFormat;
}

GLuint uploadTexture(const uint8_t *rgba, uint32_t width, uint32_t height, GLenum internalFormat, GLenum minFilter,
                     GLenum wrap, bool compress) {
  // Larger than the GL takes: scaled to the largest square it does take.
  std::vector<uint8_t> scaled;
  uint32_t max = MaxTextureSize > 0 ? (uint32_t)MaxTextureSize : 0;
  if (max && (width > max || height > max)) {
    scaled.resize((size_t)max * max * 4);
    gluScaleImage(GL_RGBA, (GLint)width, (GLint)height, GL_UNSIGNED_BYTE, rgba, (GLint)max, (GLint)max,
                  GL_UNSIGNED_BYTE, scaled.data());
    rgba = scaled.data();
    width = height = max;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (GLint)wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (GLint)wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (GLint)magnificationFilter(minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, (GLint)minFilter);
  GLenum format = compress && UseTexCompression ? CompressedFormat(internalFormat) : internalFormat;
  if (minFilter == GL_NEAREST || minFilter == GL_LINEAR)
    glTexImage2D(GL_TEXTURE_2D, 0, (GLint)format, (GLsizei)width, (GLsizei)height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  else
    gluBuild2DMipmaps(GL_TEXTURE_2D, (GLint)format, (GLint)width, (GLint)height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return name;
}

// Decodes a file into RGBA (alpha bytes not yet set); false after reporting
// a file that decodes to nothing.
static bool DecodeRgba(const char *fileName, std::vector<uint8_t> &rgba, HwlHeader &header) {
  std::vector<uint8_t> pixels;
  HwlStatus status = decodeHwl(pixels, header, fileName, true);
  if (status != HWL_OK) {
    TextureError(fileName, hwlStatusText(status));
    return false;
  }
  uint32_t count = (uint32_t)header.width * header.height;
  if (header.bitsPerPixel == 8) {
    rgba.assign((size_t)count * 4, 0);
    greyToRgba(pixels.data(), rgba.data(), count);
  } else {
    rgba.swap(pixels);
  }
  return true;
}

GLuint loadTexture(const char *fileName, GLenum internalFormat, GLenum minFilter, GLenum wrap, uint8_t alpha,
                   bool invert, bool compress) {
  std::vector<uint8_t> rgba;
  HwlHeader header;
  if (!DecodeRgba(fileName, rgba, header)) return 0;
  uint32_t count = (uint32_t)header.width * header.height;
  swapRedBlue(rgba.data(), count);
  setAlpha(rgba.data(), count, alpha);
  if (invert) invertColour(rgba.data(), count);
  return uploadTexture(rgba.data(), header.width, header.height, internalFormat, minFilter, wrap, compress);
}

GLuint loadTextureWithAlpha(const char *colourFileName, const char *alphaFileName, GLenum internalFormat,
                            GLenum minFilter, GLenum wrap, bool invert, bool compress) {
  if (!alphaFileName || !alphaFileName[0])
    return loadTexture(colourFileName, internalFormat, minFilter, wrap, 255, invert, compress);
  std::vector<uint8_t> rgba;
  HwlHeader header;
  if (!DecodeRgba(colourFileName, rgba, header)) return 0;
  std::vector<uint8_t> alpha;
  HwlHeader alphaHeader;
  HwlStatus status = decodeHwl(alpha, alphaHeader, alphaFileName, true);
  if (status != HWL_OK) {
    TextureError(alphaFileName, hwlStatusText(status));
    return 0;
  }
  if (alphaHeader.bitsPerPixel != 8 || alphaHeader.width != header.width || alphaHeader.height != header.height) {
    char reason[200];
    snprintf(reason, sizeof reason, "the alpha image is %ux%u with %u bits per pixel, not 8-bit %ux%u like %s",
             alphaHeader.width, alphaHeader.height, alphaHeader.bitsPerPixel, header.width, header.height,
             colourFileName);
    TextureError(alphaFileName, reason);
    return 0;
  }
  uint32_t count = (uint32_t)header.width * header.height;
  swapRedBlue(rgba.data(), count);
  alphaFromGrey(alpha.data(), rgba.data(), count);
  if (invert) invertColour(rgba.data(), count);
  return uploadTexture(rgba.data(), header.width, header.height, internalFormat, minFilter, wrap, compress);
}

GLuint createTexture(uint8_t *pixels, uint32_t width, uint32_t height, GLenum internalFormat, GLenum minFilter,
                     GLenum wrap, uint8_t alpha, bool threeBytesPerPixel, bool invert, bool compress) {
  uint32_t count = width * height;
  std::vector<uint8_t> copy;
  uint8_t *rgba = pixels;
  if (threeBytesPerPixel) {
    copy.resize((size_t)count * 4);
    rgbToRgba(pixels, copy.data(), count);
    rgba = copy.data();
  }
  setAlpha(rgba, count, alpha);
  if (invert) invertColour(rgba, count);
  return uploadTexture(rgba, width, height, internalFormat, minFilter, wrap, compress);
}
