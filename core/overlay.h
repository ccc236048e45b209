// The 2-D overlays drawn over the scene at the end of every frame: the
// stroke-font scroller and the wavy corner banner.
#pragma once

#include <cstdint>

struct BannerRecord;

// The scroller's text: exactly 255 characters, 17 leading blanks.
extern const char ScrollText[256];

// Draws the scroller for the tick.
void DrawScroller(int32_t tick);
// Draws a string in the stroke font in the unit-square overlay; leaves the GL
// state as it found it (except the current alpha, which becomes 1).
void DrawText2D(const char *text, float x, float y, float scaleX, float scaleY, float red, float green,
                float blue);
// Rewrites the banner's position key and grid arrays for the tick.
void AnimateBanner(int32_t tick);
// Draws a banner record; leaves the GL state as it found it.
void DrawBanner(BannerRecord &banner, int32_t tick);
