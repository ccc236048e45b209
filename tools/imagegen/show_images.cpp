// The seven image files of the show, their encoder settings and what they show.
#include "tools/imagegen/imagegen.h"

#include <cmath>
#include <cstdio>
#include <string>

const ShowImage SHOW_IMAGES[SHOW_IMAGE_COUNT] = {
    {"flareblu", 90, false, "lens-flare sprite of the lights: white core, blue halo, faint ring, thin rays; on black"},
    {"snowflak", 90, true, "snow particle sprite: six-armed crystal, white on black, soft edges and glow"},
    {"hwlshin5", 90, true, "glow sprite of the lights, drawn six times tinted red, green, blue: soft glow, faint streaks"},
    {"xmastree", 85, false, "fir branch colour: twigs with dark and light green needles, snow on top; repeats left-right"},
    {"xmastrea", 85, true, "fir branch alpha: needles opaque, gaps transparent, top and bottom rows clear"},
    {"xmasband", 85, false, "corner banner colour: \"Merry Christmas\" in gold with a dark outline, FROSTEN, holly, stars"},
    {"xmasbana", 90, true, "corner banner alpha: the letters, holly and stars opaque in a soft shadow, clear elsewhere"},
};

double Psnr(const PngImage &a, const PngImage &b) {
  if (a.Width != b.Width || a.Height != b.Height || a.Channels != b.Channels || a.Pixels.size() != b.Pixels.size())
    return -1.0;
  double sum = 0.0;
  for (size_t i = 0; i < a.Pixels.size(); i++) {
    double d = (double)a.Pixels[i] - (double)b.Pixels[i];
    sum += d * d;
  }
  if (sum == 0.0) return INFINITY;
  double mse = sum / (double)a.Pixels.size();
  return 10.0 * std::log10(255.0 * 255.0 / mse);
}

bool LoadDecoded(const char *dir, const char *name, PngImage &image, char *error, int errorSize) {
  std::string path = std::string(dir) + "/" + name + ".png";
  char reason[256];
  if (!ReadPng(path.c_str(), image, reason, sizeof reason)) {
    snprintf(error, errorSize, "%s: %s", path.c_str(), reason);
    return false;
  }
  return true;
}
