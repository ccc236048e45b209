#include "launcher/glcaps.h"

#include "launcher/display.h"
#include "platform/glproc.h"

#include <GL/freeglut.h>
#include <cstring>

bool HardwareRenderer;
GLenum MipmapFilter;
GLenum PlainFilter;
LockArraysProc glLockArraysEXT;
UnlockArraysProc glUnlockArraysEXT;
bool HasCompiledArrays;
bool UseTexCompression;
int32_t MaxTextureSize;

bool IsHardwareVendor(const char *vendor) {
  return !vendor || strcmp(vendor, "Microsoft Corporation") != 0;
}

void DetectGLCapabilities() {
  HardwareRenderer = IsHardwareVendor((const char *)glGetString(GL_VENDOR));
  MipmapFilter = HardwareRenderer ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST;
  PlainFilter = HardwareRenderer ? GL_LINEAR : GL_NEAREST;
  glLockArraysEXT = (LockArraysProc)wglGetProcAddress("glLockArraysEXT");
  glUnlockArraysEXT = (UnlockArraysProc)wglGetProcAddress("glUnlockArraysEXT");
  HasCompiledArrays = glLockArraysEXT && glUnlockArraysEXT;
  UseTexCompression = glutExtensionSupported("GL_ARB_texture_compression") != 0;
  if (!DisplaySettings.TexCompress) UseTexCompression = false;
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  MaxTextureSize = size;
}
