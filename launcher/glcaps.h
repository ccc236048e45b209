// What the GL offers, detected once when the display has been opened.
#pragma once

#include <GL/gl.h>
#include <cstdint>

typedef void (*LockArraysProc)(GLint first, GLsizei count);
typedef void (*UnlockArraysProc)();

extern bool HardwareRenderer;
extern GLenum MipmapFilter;
extern GLenum PlainFilter;
extern LockArraysProc glLockArraysEXT;
extern UnlockArraysProc glUnlockArraysEXT;
extern bool HasCompiledArrays;
extern bool UseTexCompression;
extern int32_t MaxTextureSize;

void DetectGLCapabilities();
// The vendor rule on its own: anything but the generic software renderer.
bool IsHardwareVendor(const char *vendor);
