// Texture objects, and the mipmaps and scaling GLU would make: levels to a
// power of two by the nearest power, each the 2x2 average of the one above.
#include "platform/web/gl_layer_state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

void sglGenTextures(GLsizei count, GLuint *names) { glGenTextures(count, names); }
void sglBindTexture(GLenum target, GLuint name) {
  GLLayer.BoundTexture = name;
  glBindTexture(target, name);
}

// GLES has no border texels: clamping stops at the edge texels.
void sglTexParameteri(GLenum target, GLenum name, GLint value) {
  if (value == GL_CLAMP) value = GL_CLAMP_TO_EDGE;
  glTexParameteri(target, name, value);
}

// Compressed formats are never asked for where GLES has none: RGBA is what
// the layer uploads.
void sglTexImage2D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLint, GLenum format,
                   GLenum type, const void *pixels) {
  glTexImage2D(target, level, (GLint)format, width, height, 0, format, type, pixels);
}

static int Channels(GLenum format) {
  switch (format) {
  case GL_RGBA: return 4;
  case GL_RGB: return 3;
  case GL_LUMINANCE_ALPHA: return 2;
  default: return 1;
  }
}

// Each output pixel is the area-weighted mean of the input pixels under it.
GLint sgluScaleImage(GLenum format, GLint widthIn, GLint heightIn, GLenum, const void *in, GLint widthOut,
                     GLint heightOut, GLenum, void *out) {
  if (widthIn <= 0 || heightIn <= 0 || widthOut <= 0 || heightOut <= 0) return GL_INVALID_VALUE;
  const int n = Channels(format);
  const uint8_t *src = (const uint8_t *)in;
  uint8_t *dst = (uint8_t *)out;
  const double sx = (double)widthIn / widthOut, sy = (double)heightIn / heightOut;
  for (GLint y = 0; y < heightOut; y++) {
    double y0 = y * sy, y1 = y0 + sy;
    for (GLint x = 0; x < widthOut; x++) {
      double x0 = x * sx, x1 = x0 + sx;
      double sum[4] = {0, 0, 0, 0}, area = 0;
      for (GLint j = (GLint)y0; j < heightIn && j < y1; j++) {
        double wy = std::min(y1, (double)j + 1) - std::max(y0, (double)j);
        for (GLint i = (GLint)x0; i < widthIn && i < x1; i++) {
          double w = wy * (std::min(x1, (double)i + 1) - std::max(x0, (double)i));
          const uint8_t *p = &src[((size_t)j * widthIn + i) * n];
          for (int c = 0; c < n; c++) sum[c] += w * p[c];
          area += w;
        }
      }
      for (int c = 0; c < n; c++) dst[((size_t)y * widthOut + x) * n + c] = (uint8_t)(sum[c] / area + 0.5);
    }
  }
  return 0;
}

// The power of two nearest to a size, rounding 3 x 2^k up.
static GLint NearestPower(GLint value) {
  GLint power = 1;
  while (value > 1) {
    if (value == 3) return power * 4;
    value >>= 1;
    power *= 2;
  }
  return power;
}

// The next mipmap level: the mean of each 2x2 block (of each pair where
// one side is already 1).
static void HalveImage(const std::vector<uint8_t> &in, GLint width, GLint height, int n,
                       std::vector<uint8_t> &out) {
  GLint w = width > 1 ? width / 2 : 1, h = height > 1 ? height / 2 : 1;
  out.assign((size_t)w * h * n, 0);
  for (GLint y = 0; y < h; y++)
    for (GLint x = 0; x < w; x++)
      for (int c = 0; c < n; c++) {
        auto at = [&](GLint i, GLint j) { return (unsigned)in[((size_t)j * width + i) * n + c]; };
        unsigned v;
        if (width > 1 && height > 1)
          v = (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1) + 2) / 4;
        else if (width > 1)
          v = (at(2 * x, y) + at(2 * x + 1, y)) / 2;
        else
          v = (at(x, 2 * y) + at(x, 2 * y + 1)) / 2;
        out[((size_t)y * w + x) * n + c] = (uint8_t)v;
      }
}

GLint sgluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                         GLenum type, const void *pixels) {
  if (width <= 0 || height <= 0 || type != GL_UNSIGNED_BYTE) return GL_INVALID_VALUE;
  const int n = Channels(format);
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  GLint w = NearestPower(width), h = NearestPower(height);
  while (maxSize > 0 && (w > maxSize || h > maxSize)) {
    if (w > 1) w /= 2;
    if (h > 1) h /= 2;
  }
  std::vector<uint8_t> level((size_t)w * h * n), next;
  if (w == width && h == height) memcpy(level.data(), pixels, level.size());
  else sgluScaleImage(format, width, height, type, pixels, w, h, type, level.data());
  GLint previousAlignment = GLLayer.UnpackAlignment;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (GLint l = 0;; l++) {
    sglTexImage2D(target, l, internalFormat, w, h, 0, format, type, level.data());
    if (w == 1 && h == 1) break;
    HalveImage(level, w, h, n, next);
    level.swap(next);
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
  return 0;
}
