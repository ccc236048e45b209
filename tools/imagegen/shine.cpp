// hwlshin5: the glow round every light. Each light draws it six times,
// turning and pulsing, tinted red, green or blue, so it is a soft grey glow
// whose faint streaks sparkle as the copies turn against each other.
#include "tools/imagegen/imagegen.h"

#include <cmath>
#include <numbers>

PngImage DrawShine(int32_t side) {
  const Colour white = {1.0f, 1.0f, 1.0f};
  const float pi = std::numbers::pi_v<float>;

  struct Streak {
    float Angle, Length, Width, Intensity;
  };
  std::vector<Streak> streaks;
  RandomState random = {0x0051a1e5};
  for (int i = 0; i < 18; i++) {
    float angle = (i + RandomRange(random, 0.0f, 0.9f)) * 2.0f * pi / 18;
    streaks.push_back({angle, RandomRange(random, 0.45f, 0.85f), RandomRange(random, 0.010f, 0.020f),
                       RandomRange(random, 0.06f, 0.14f)});
  }

  FloatPicture picture = NewPicture(side, side);
  float half = side * 0.5f;
  for (int32_t y = 0; y < side; y++) {
    for (int32_t x = 0; x < side; x++) {
      float px = (x + 0.5f - half) / half, py = (y + 0.5f - half) / half;
      float r = std::sqrt(px * px + py * py);
      float window = 1.0f - Smoothstep(0.70f, 0.96f, r);
      if (window <= 0.0f) continue;
      float glow = 0.42f * Gauss(r, 0.13f) + 0.24f * Gauss(r, 0.34f);
      float angle = std::atan2(py, px);
      for (const Streak &streak : streaks) {
        if (r >= streak.Length) continue;
        float d = std::remainder(angle - streak.Angle, 2.0f * pi);
        float across = std::fabs(d) * r;  // distance from the streak's line, near enough
        float fade = 1.0f - r / streak.Length;
        glow += streak.Intensity * fade * Gauss(across, streak.Width * (0.5f + r)) * Smoothstep(0.0f, 0.08f, r);
      }
      AddPixel(picture, x, y, white, glow * window);
    }
  }
  return PictureToPng(picture, 1);
}
