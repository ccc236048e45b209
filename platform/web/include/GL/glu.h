// The browser build's <GL/glu.h>: the GLU calls are the GL layer's.
#pragma once

#include <GL/gl.h>
