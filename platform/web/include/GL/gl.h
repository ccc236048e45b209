// The browser build's <GL/gl.h>: GLES 2 and the GL 1.1 names of the GL
// layer, which draws the show's GL 1.1 calls (see gl_redirect.h).
#pragma once

#include "platform/web/gl_layer.h"

typedef float GLclampf;
typedef double GLclampd;

#ifndef GL_TEXTURE
#define GL_TEXTURE 0x1702
#endif
