#include "core/overlay.h"

#include "effects/setup.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cmath>

// What the overlays change and put back as they found it.
struct OverlaySaved {
  GLboolean Lighting;
  GLboolean Texturing;
  GLint MatrixMode;
  GLfloat Colour[4];
};

// 17 blanks, the five segments joined by "  ..  ", and blanks to 255.
#define SCROLL_LEAD "                 "
#define SCROLL_SEP "  ..  "
const char ScrollText[256] =
    SCROLL_LEAD "MERRY XMAS FOLKS!" SCROLL_SEP "WELCOME TO NOKKOS FROSTEN" SCROLL_SEP
                "GET YASELF SOME COOKIES AND KEEP ON READING" SCROLL_SEP "=)" SCROLL_SEP
                "GREETZ MUST FLY TO: pim/snowmoth . brazzle/fir9 . tuva/glogg . wix/ivy . "
                "!! AND TO ALL MEMBERS AND FRIENDS !!"
                "                  ";
static_assert(sizeof ScrollText == 256);

enum { SCROLL_SLOTS = 16, SCROLL_TICKS_PER_CHAR = 20, SCROLL_WINDOW_STEPS = 255 - 17 };

static OverlaySaved SaveOverlayState() {
  OverlaySaved saved;
  saved.Lighting = glIsEnabled(GL_LIGHTING);
  saved.Texturing = glIsEnabled(GL_TEXTURE_2D);
  glGetIntegerv(GL_MATRIX_MODE, &saved.MatrixMode);
  glGetFloatv(GL_CURRENT_COLOR, saved.Colour);
  return saved;
}

static int32_t FloorMod(int32_t a, int32_t n) {
  int32_t r = a % n;
  return r < 0 ? r + n : r;
}

static int32_t FloorDiv(int32_t a, int32_t n) { return (a - FloorMod(a, n)) / n; }

void DrawScroller(int32_t tick) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1, 1, 1, 1);
  glLineWidth(3.0f);
  for (int k = 1; k <= SCROLL_SLOTS; k++) {
    ScrollerGlyph g = ScrollerGlyphAt(tick, k);
    const char c[2] = {g.Character, 0};
    DrawText2D(c, g.X, g.Y, g.Scale, g.Scale, 1.0f, g.Green, g.Green);
  }
}

ScrollerGlyph ScrollerGlyphAt(int32_t tick, int slot) {
  double m = FloorMod(tick, SCROLL_TICKS_PER_CHAR);
  // s is the 1-based index of the window's first character.
  int32_t s = FloorMod(FloorDiv(tick, SCROLL_TICKS_PER_CHAR), SCROLL_WINDOW_STEPS) + 1;
  double a = tick + 10.0 * slot - 10.0 * m / 20.0;
  double b = tick + 15.0 * slot - 15.0 * m / 20.0;
  ScrollerGlyph g;
  g.Character = ScrollText[s + slot - 2];
  g.A = a;
  g.B = b;
  g.X = (float)(0.08 * slot - 0.16 - 0.08 * m / 20.0 + 0.09 * std::sin(b * M_PI / 100.0));
  g.Y = (float)(0.25 + 0.15 * std::sin(a * M_PI / 80.0));
  g.Scale = (float)(0.0005 + 0.0002 * std::sin(a * M_PI / 60.0));
  g.Green = (float)(0.5 + 0.5 * std::sin(a * M_PI / 60.0));
  return g;
}

void DrawText2D(const char *text, float x, float y, float scaleX, float scaleY, float red, float green,
                float blue) {
  OverlaySaved saved = SaveOverlayState();

  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glColor3f(red, green, blue);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(0, 1, 0, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(x, y, 0);
  glScalef(scaleX, scaleY, 1);
  for (const char *c = text; *c; c++) glutStrokeCharacter(GLUT_STROKE_ROMAN, (unsigned char)*c);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();

  glColor3f(saved.Colour[0], saved.Colour[1], saved.Colour[2]);
  glMatrixMode((GLenum)saved.MatrixMode);
  if (saved.Lighting) glEnable(GL_LIGHTING);
  if (saved.Texturing) glEnable(GL_TEXTURE_2D);
}

void AnimateBanner(int32_t tick) { AnimateBannerRecord(Banner, tick); }

void AnimateBannerRecord(BannerRecord &banner, int32_t tick) {
  double t = tick;
  if (banner.PositionTrack.KeyCount > 0)
    banner.PositionTrack.Keys[0].Value =
        Vector3{(float)(0.666665 + 1.33333 * 0.5 * 0.5 * std::sin(t * M_PI / 250.0)),
                (float)(0.6 + 0.5 * 0.3 * std::cos(t * M_PI / 300.0)), (float)(20.0 * std::sin(t * M_PI / 250.0))};
  if (!banner.GridColours || !banner.GridTexCoords || banner.GridColumns < 2 || banner.GridRows < 2) return;
  for (uint32_t j = 0; j < banner.GridRows; j++) {
    double v = (double)j / (banner.GridRows - 1);
    for (uint32_t i = 0; i < banner.GridColumns; i++) {
      double u = (double)i / (banner.GridColumns - 1);
      uint32_t n = j * banner.GridColumns + i;
      banner.GridTexCoords[2 * n] =
          (float)(u + 0.02 * std::sin(1.1 * u + t / 30.0) + 0.01 * std::sin(1.6 * v + t / 50.0));
      banner.GridTexCoords[2 * n + 1] =
          (float)(v + 0.02 * std::cos(1.3 * v + t / 25.0) + 0.01 * std::cos(1.5 * u + t / 60.0));
      float *c = &banner.GridColours[4 * n];
      c[0] = c[1] = c[2] = 1;
      c[3] = (float)(0.6 + 0.2 * std::cos(1.5 * u + t / 30.0) + 0.2 * std::sin(1.6 * v + t / 40.0));
    }
  }
}

static void BannerPoint(const BannerRecord &banner, uint32_t i, uint32_t r, float du, float dv) {
  uint32_t n = r * banner.GridColumns + i;
  glColor4fv(&banner.GridColours[4 * n]);
  glTexCoord2fv(&banner.GridTexCoords[2 * n]);
  glVertex3f(banner.Width * ((float)i * du - 0.5f), banner.Height * (0.5f - (float)r * dv), 0);
}

void DrawBanner(BannerRecord &banner, int32_t tick) {
  if (!banner.GridColours || !banner.GridTexCoords || banner.GridColumns < 2 || banner.GridRows < 2) return;
  float du = 1.0f / (float)(banner.GridColumns - 1);
  float dv = 1.0f / (float)(banner.GridRows - 1);
  OverlaySaved saved = SaveOverlayState();

  glEnable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glBindTexture(GL_TEXTURE_2D, banner.Texture);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (float)banner.TexEnv);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(0, 1.3333, 0, 1);
  float px = 0, py = 0, angle = 0;
  sampleVectorTrack(banner.PositionTrack, tick, px, py, angle);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(px, py, 0);
  glRotatef(angle, 0, 0, 1);
  for (uint32_t j = 0; j + 1 < banner.GridRows; j++) {
    glBegin(GL_QUAD_STRIP);
    for (uint32_t i = 0; i < banner.GridColumns; i++) {
      BannerPoint(banner, i, j, du, dv);
      BannerPoint(banner, i, j + 1, du, dv);
    }
    glEnd();
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();

  glColor4fv(saved.Colour);
  glMatrixMode((GLenum)saved.MatrixMode);
  if (saved.Lighting) glEnable(GL_LIGHTING);
  if (!saved.Texturing) glDisable(GL_TEXTURE_2D);
}
