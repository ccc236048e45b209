#include "platform/glproc.h"

#include <GL/freeglut.h>

void *wglGetProcAddress(const char *name) {
  return (void *)glutGetProcAddress(name);
}
