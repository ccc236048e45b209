#include "tools/imagegen/imagegen.h"
ColourAndAlpha DrawBanner(const FontSet &, int32_t w, int32_t h) { cairo_surface_t *s = NewSurface(w, h); auto r = SurfaceToColourAndAlpha(s, {0,0,0}); cairo_surface_destroy(s); return r; }
bool DrawContactSheet(const FontSet &, const char *, const char *, char *, int) { return false; }
