// The 2-D overlays drawn over the scene at the end of every frame: the
// stroke-font scroller and the wavy corner banner.
#pragma once

#include <cstdint>

struct BannerRecord;

// The scroller's text: exactly 255 characters, 17 leading blanks.
extern const char ScrollText[256];

// Draws the scroller for the tick.
void DrawScroller(int32_t tick);

// Where and how slot 1 .. 16 of the scroller is drawn at a tick: its pen
// position and scale in the unit square and its green (= blue) level; red is 1.
struct ScrollerGlyph {
  char Character;
  double A, B;  // the phases: a of the height, size and colour, b of the sideways wobble
  float X, Y;
  float Scale;
  float Green;
};
ScrollerGlyph ScrollerGlyphAt(int32_t tick, int slot);

// Draws a string in the stroke font in the unit-square overlay; leaves the GL
// state as it found it (except the current alpha, which becomes 1).
void DrawText2D(const char *text, float x, float y, float scaleX, float scaleY, float red, float green,
                float blue);
// Rewrites the banner's position key and grid arrays for the tick.
void AnimateBanner(int32_t tick);
// The same for a given banner record (the show's is the one above).
void AnimateBannerRecord(BannerRecord &banner, int32_t tick);
// Draws a banner record; leaves the GL state as it found it.
void DrawBanner(BannerRecord &banner, int32_t tick);
