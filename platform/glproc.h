// GL extension entry points by name, in the manner of wglGetProcAddress.
#pragma once

// Null when the name is unknown to the GL. Needs a current GL context.
void *wglGetProcAddress(const char *name);
