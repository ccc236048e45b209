// flareblu: the lens-flare sprite drawn at every light. Blue-white on black,
// drawn additively: a white-hot core, a blue halo, a faint ring and thin rays.
#include "tools/imagegen/imagegen.h"

#include <cmath>
#include <numbers>

struct FlareRay {
  float Angle;      // radians; the ray runs both ways through the centre
  float Length;     // where it has faded out, in sprite radii
  float Width;      // in sprite radii
  float Intensity;
  Colour Tint;
};

static float RayAt(const FlareRay &ray, float x, float y) {
  float along = std::fabs(x * std::cos(ray.Angle) + y * std::sin(ray.Angle));
  float across = std::fabs(-x * std::sin(ray.Angle) + y * std::cos(ray.Angle));
  if (along >= ray.Length) return 0.0f;
  float fade = 1.0f - along / ray.Length;
  // A ray thins towards its end and is brightest near the core.
  float width = ray.Width * (0.4f + 0.6f * fade);
  return ray.Intensity * fade * fade * Gauss(across, width);
}

PngImage DrawFlare(int32_t side) {
  const Colour white = {1.0f, 1.0f, 1.0f};
  const Colour ice = {0.78f, 0.90f, 1.0f};
  const Colour blue = {0.30f, 0.52f, 1.0f};
  const Colour deep = {0.16f, 0.28f, 0.95f};
  const float pi = std::numbers::pi_v<float>;

  std::vector<FlareRay> rays = {
      {0.0f, 1.00f, 0.014f, 1.00f, ice},          // the long horizontal streak
      {pi / 2, 0.72f, 0.011f, 0.70f, ice},        // the vertical one
      {pi / 4, 0.46f, 0.008f, 0.40f, white},      // two diagonals
      {-pi / 4, 0.46f, 0.008f, 0.40f, white},
  };
  RandomState random = {0x5eed0f1a};
  for (int i = 0; i < 10; i++) {
    // Fine, faint rays at uneven angles for a little sparkle.
    float angle = (i + RandomRange(random, 0.2f, 0.8f)) * pi / 10;
    rays.push_back({angle, RandomRange(random, 0.22f, 0.42f), 0.005f, RandomRange(random, 0.12f, 0.22f), blue});
  }

  FloatPicture picture = NewPicture(side, side);
  float half = side * 0.5f;
  for (int32_t y = 0; y < side; y++) {
    for (int32_t x = 0; x < side; x++) {
      float px = (x + 0.5f - half) / half, py = (y + 0.5f - half) / half;
      float r = std::sqrt(px * px + py * py);
      // Everything fades out inside the inscribed circle: the quad's edges stay black.
      float window = 1.0f - Smoothstep(0.78f, 0.98f, r);
      if (window <= 0.0f) continue;
      AddPixel(picture, x, y, white, 1.6f * Gauss(r, 0.045f) * window);
      AddPixel(picture, x, y, ice, 0.90f * Gauss(r, 0.12f) * window);
      AddPixel(picture, x, y, blue, 0.45f * Gauss(r, 0.27f) * window);
      AddPixel(picture, x, y, deep, 0.12f * Gauss(r, 0.55f) * window);
      AddPixel(picture, x, y, blue, 0.07f * Gauss(r - 0.56f, 0.03f) * window);  // ring
      for (const FlareRay &ray : rays) AddPixel(picture, x, y, ray.Tint, RayAt(ray, px, py) * window);
    }
  }
  return PictureToPng(picture, 3);
}
