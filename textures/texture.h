// GL 2-D textures from HWL files and from images in memory. Every source
// becomes 8-bit RGBA and goes through one upload: shrunk to MaxTextureSize
// when larger, wrap and filters set, compressed when asked and allowed, and
// with a mipmap chain when the minification filter uses one. The new
// texture stays bound.
#pragma once

#include <GL/gl.h>
#include <cstdint>

// Called when a texture file decodes to nothing (its header is rejected,
// its bit depth is neither 8 nor 24, or its alpha image is not an 8-bit
// image of the colour image's size). The show's handler shows an "Error"
// box naming the file and the reason and ends the program with code 1. If a
// handler returns, the loader returns 0. A file that cannot be read at all
// is reported by the data reader's DataError hook instead.
typedef void (*TextureErrorHandler)(const char *fileName, const char *reason);
extern TextureErrorHandler TextureError;

GLuint loadTexture(const char *fileName, GLenum internalFormat, GLenum minFilter, GLenum wrap, uint8_t alpha,
                   bool invert, bool compress);
// The colour file's pixels with the alpha channel from an 8-bit file of the
// same size; an empty alpha name gives loadTexture with alpha 255.
GLuint loadTextureWithAlpha(const char *colourFileName, const char *alphaFileName, GLenum internalFormat,
                            GLenum minFilter, GLenum wrap, bool invert, bool compress);
// Pixels in memory, 3 or 4 bytes per pixel, rows from the top. The caller's
// buffer is never freed; when it has 4 bytes per pixel the alpha and invert
// steps write into it.
GLuint createTexture(uint8_t *pixels, uint32_t width, uint32_t height, GLenum internalFormat, GLenum minFilter,
                     GLenum wrap, uint8_t alpha, bool threeBytesPerPixel, bool invert, bool compress);

// The shared upload of a width x height RGBA image.
GLuint uploadTexture(const uint8_t *rgba, uint32_t width, uint32_t height, GLenum internalFormat, GLenum minFilter,
                     GLenum wrap, bool compress);
// GL_NEAREST for the nearest filters (GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST,
// GL_NEAREST_MIPMAP_LINEAR), GL_LINEAR for every other.
GLenum magnificationFilter(GLenum minFilter);

// Pixel operations over count pixels; a count of 0 does nothing.
void greyToRgba(const uint8_t *grey, uint8_t *rgba, uint32_t count);  // alpha bytes untouched
void swapRedBlue(uint8_t *rgba, uint32_t count);
void setAlpha(uint8_t *rgba, uint32_t count, uint8_t alpha);
void invertColour(uint8_t *rgba, uint32_t count);  // alpha untouched
void rgbToRgba(const uint8_t *rgb, uint8_t *rgba, uint32_t count);  // alpha 0
void alphaFromGrey(const uint8_t *grey, uint8_t *rgba, uint32_t count);
