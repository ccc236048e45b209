// The browser build's <GL/glext.h>: the few extension names the show uses.
#pragma once

#include <GL/gl.h>

#ifndef GL_TEXTURE_COMPRESSION_HINT_ARB
#define GL_TEXTURE_COMPRESSION_HINT_ARB 0x84EF
#endif
