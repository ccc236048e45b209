// The snow simulation, the glow table, the scroller's text and timing and the
// banner's animation, without a GL context.
#include "core/overlay.h"
#include "effects/flares.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "effects/show_random.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

// The set-up's fountain: 1000 flakes thrown up from the emitter.
static void MakeFountain(ParticleSystem &s, float r, float g, float b, Vector3 origin = {1, 2, 3}) {
  CreateParticleSystem(s, r, g, b, origin, Vector3{0, 0, 0.2f}, Vector3{0.0005f, 0.0005f, -0.002f}, 1000, 350,
                       150, 0.5f, 0.5f, 0.3f);
}

static bool SameParticles(const ParticleSystem &a, const ParticleSystem &b) {
  return a.Count == b.Count && memcmp(a.Particles, b.Particles, a.Count * sizeof(Particle)) == 0;
}

// Inside the spread cube: c + w/2 - k/1000 for k in 0 .. round(1000 w) - 1.
static void ExpectInCube(float v, float c, float w) {
  EXPECT_LE(v, c + w * 0.5f + 1e-5f);
  EXPECT_GT(v, c - w * 0.5f - 1e-5f);
}

TEST(Particles, StepsFollowTheElapsedTicksExactly) {
  ParticleSystem a{}, b{};
  SeedShowRandom();
  MakeFountain(a, 1, 1, 1);
  SeedShowRandom();
  MakeFountain(b, 1, 1, 1);
  ASSERT_TRUE(SameParticles(a, b));

  // No elapsed tick: nothing moves, nothing is drawn from the generator.
  UpdateParticleSystem(a, 0);
  EXPECT_TRUE(SameParticles(a, b));

  SeedShowRandom();
  // One step: velocity takes the acceleration, then the position the velocity.
  Particle before = a.Particles[7];
  ASSERT_GT(before.LifeLeft, 1);
  UpdateParticleSystem(a, 1);
  const Particle &p = a.Particles[7];
  EXPECT_FLOAT_EQ(p.Velocity.z, before.Velocity.z - 0.002f);
  EXPECT_FLOAT_EQ(p.Position.z, before.Position.z + before.Velocity.z - 0.002f);
  EXPECT_FLOAT_EQ(p.Position.x, before.Position.x + before.Velocity.x + 0.0005f);
  EXPECT_EQ(p.LifeLeft, before.LifeLeft - 1);

  // A stall of 120 ticks is the same as 120 frames one tick apart (the
  // generator restarted alike for both, since re-throws draw from it).
  SeedShowRandom();
  UpdateParticleSystem(b, 1);
  ASSERT_TRUE(SameParticles(a, b));
  SeedShowRandom();
  UpdateParticleSystem(a, 120);
  SeedShowRandom();
  for (int i = 0; i < 120; i++) UpdateParticleSystem(b, 1);
  EXPECT_TRUE(SameParticles(a, b));
  FreeParticleSystem(a);
  FreeParticleSystem(b);
}

TEST(Particles, RethrowStartsAtTheMovedEmitterWithinTheSpread) {
  SeedShowRandom();
  ParticleSystem s{};
  MakeFountain(s, 1, 1, 1);
  const Vector3 moved{-4, 5, 6};
  MoveEmitter(s, moved);
  std::vector<int32_t> lifeBefore(s.Count);
  int32_t shortest = 1000, longest = 0, rethrown = 0;
  for (int tick = 0; tick < 600; tick++) {
    for (uint32_t i = 0; i < s.Count; i++) lifeBefore[i] = s.Particles[i].LifeLeft;
    UpdateParticleSystem(s, 1);
    for (uint32_t i = 0; i < s.Count; i++) {
      if (lifeBefore[i] > 1) continue;
      const Particle &p = s.Particles[i];
      rethrown++;
      ExpectInCube(p.Position.x, moved.x, 0.5f);
      ExpectInCube(p.Position.y, moved.y, 0.5f);
      ExpectInCube(p.Position.z, moved.z, 0.5f);
      ExpectInCube(p.Velocity.x, 0, 0.3f);
      ExpectInCube(p.Velocity.y, 0, 0.3f);
      ExpectInCube(p.Velocity.z, 0.2f, 0.3f);
      shortest = std::min(shortest, p.LifeLeft);
      longest = std::max(longest, p.LifeLeft);
    }
  }
  EXPECT_GT(rethrown, 1000);
  EXPECT_EQ(shortest, 350);
  EXPECT_EQ(longest, 499);
  FreeParticleSystem(s);
}

TEST(Particles, NegativeColourIsDrawnPerParticleAndRedrawnOnRethrow) {
  SeedShowRandom();
  ParticleSystem s{};
  MakeFountain(s, -1, 0.5f, 0);
  Vector3 up{0, 0, 1}, right{1, 0, 0};
  float firstRed = s.Particles[0].Colour[0];
  bool differ = false;
  for (uint32_t i = 0; i < s.Count; i++) {
    const Particle &p = s.Particles[i];
    EXPECT_GE(p.Colour[0], 0);
    EXPECT_LT(p.Colour[0], 1);
    EXPECT_FLOAT_EQ(p.Colour[1], 0.7f);
    EXPECT_FLOAT_EQ(p.Colour[2], 0.2f);
    differ |= p.Colour[0] != firstRed;
    ParticleQuad q = ParticleSprite(s, p, up, right);
    EXPECT_FLOAT_EQ(q.Colour[0], p.Colour[0] + 0.2f);
    EXPECT_FLOAT_EQ(q.Colour[1], 0.9f);
  }
  EXPECT_TRUE(differ);
  // Every particle is re-thrown within 500 ticks: red is drawn anew, green kept.
  std::vector<float> red(s.Count);
  for (uint32_t i = 0; i < s.Count; i++) red[i] = s.Particles[i].Colour[0];
  UpdateParticleSystem(s, 500);
  int changed = 0;
  for (uint32_t i = 0; i < s.Count; i++) {
    changed += s.Particles[i].Colour[0] != red[i];
    EXPECT_FLOAT_EQ(s.Particles[i].Colour[1], 0.7f);
  }
  EXPECT_GT(changed, 990);
  FreeParticleSystem(s);
}

TEST(Particles, DrawnAlphaAndSizeFollowTheLifeLeft) {
  SeedShowRandom();
  ParticleSystem s{};
  MakeFountain(s, 1, 1, 1);
  Vector3 up{0, 0, 1}, right{1, 0, 0};
  for (int tick = 0; tick < 700; tick += 7) {
    for (uint32_t i = 0; i < s.Count; i++) {
      ParticleQuad q = ParticleSprite(s, s.Particles[i], up, right);
      ASSERT_GE(q.Colour[3], 0);
      ASSERT_LE(q.Colour[3], 1);
    }
    UpdateParticleSystem(s, 7);
  }
  // A life longer than any throw is still drawn at alpha 1 and edge Size.
  Particle &p = s.Particles[0];
  p.LifeLeft = 5000;
  ParticleQuad q = ParticleSprite(s, p, up, right);
  EXPECT_EQ(q.Colour[3], 1);
  EXPECT_FLOAT_EQ(q.Corner[2].x - q.Corner[0].x, 0.5f);
  EXPECT_FLOAT_EQ(q.Corner[1].z - q.Corner[0].z, 0.5f);

  // Life 0 at creation: a point of alpha 0 until the first step re-throws it.
  p.LifeLeft = 0;
  q = ParticleSprite(s, p, up, right);
  EXPECT_EQ(q.Colour[3], 0);
  for (int v = 1; v < 4; v++) {
    EXPECT_EQ(q.Corner[v].x, q.Corner[0].x);
    EXPECT_EQ(q.Corner[v].z, q.Corner[0].z);
  }
  UpdateParticleSystem(s, 1);
  EXPECT_GE(p.LifeLeft, 350);
  EXPECT_GT(ParticleSprite(s, p, up, right).Colour[3], 0.7f);
  FreeParticleSystem(s);

  // A one-tick life has nothing to fade over: full alpha, no division by zero.
  CreateParticleSystem(s, 1, 1, 1, Vector3{0, 0, 0}, Vector3{0, 0, 0}, Vector3{0, 0, 0}, 3, 1, 0, 1, 0, 0);
  UpdateParticleSystem(s, 1);
  EXPECT_EQ(s.Particles[0].LifeLeft, 1);
  EXPECT_EQ(ParticleSprite(s, s.Particles[0], up, right).Colour[3], 1);
  FreeParticleSystem(s);
}

TEST(Flares, GlowTableAtTicks0And200) {
  const float white[3] = {1, 1, 1};
  for (int g = 0; g < 6; g++) {
    FlareGlow glow = GlowAt(g, 0, white);
    EXPECT_EQ(glow.Angle, 0) << g;
    EXPECT_EQ(glow.Scale, 3.0f) << g;
  }
  // Degrees exactly as the rates say, pi being a plain rate factor.
  const float angles[6] = {314.15927f, -251.32741f, -125.66371f, -188.49556f, 62.83185f, 157.07963f};
  const float scales[6] = {3.0f, 5.165064f, 4.234349f, 3.855050f, 4.084709f, 4.587074f};
  for (int g = 0; g < 6; g++) {
    FlareGlow glow = GlowAt(g, 200, white);
    EXPECT_NEAR(glow.Angle, angles[g], 1e-3) << g;
    EXPECT_NEAR(glow.Scale, scales[g], 1e-5) << g;
  }
  // A white light: red, blue, green, red, blue, green, each over 0.2.
  const float colours[6][3] = {{1.2f, 0.2f, 0.2f}, {0.2f, 0.2f, 1.2f}, {0.2f, 1.2f, 0.2f},
                               {1.2f, 0.2f, 0.2f}, {0.2f, 0.2f, 1.2f}, {0.2f, 1.2f, 0.2f}};
  for (int g = 0; g < 6; g++) {
    FlareGlow glow = GlowAt(g, 123, white);
    for (int c = 0; c < 3; c++) EXPECT_FLOAT_EQ(glow.Colour[c], colours[g][c]) << g << " " << c;
    EXPECT_EQ(glow.Colour[3], 1);
  }
}

TEST(Scroller, TextLayout) {
  ASSERT_EQ(strlen(ScrollText), 255u);
  std::string text = ScrollText;
  EXPECT_EQ(text.find_first_not_of(' '), 17u);
  size_t last = text.find_last_not_of(' ');
  EXPECT_GE(254 - last, 16u);
  std::string content = text.substr(17, last - 16);
  EXPECT_LE(content.size(), 222u);
  const std::string sep = "  ..  ";
  const std::string head = "MERRY XMAS FOLKS!" + sep + "WELCOME TO ";
  ASSERT_EQ(content.substr(0, head.size()), head);
  std::string name = content.substr(head.size(), 6);
  for (char c : name) EXPECT_TRUE(isupper((unsigned char)c)) << name;
  std::string middle = " FROSTEN" + sep + "GET YASELF SOME COOKIES AND KEEP ON READING" + sep + "=)" + sep +
                       "GREETZ MUST FLY TO: ";
  ASSERT_EQ(content.substr(head.size() + 6, middle.size()), middle);
  std::string greets = content.substr(head.size() + 6 + middle.size());
  const std::string tail = "!! AND TO ALL MEMBERS AND FRIENDS !!";
  ASSERT_GE(greets.size(), tail.size());
  EXPECT_EQ(greets.substr(greets.size() - tail.size()), tail);
  // Four lower-case person/group entries, each followed by " . ".
  std::string entries = greets.substr(0, greets.size() - tail.size());
  int count = 0;
  for (size_t at = 0; at < entries.size(); count++) {
    size_t end = entries.find(" . ", at);
    ASSERT_NE(end, std::string::npos);
    std::string entry = entries.substr(at, end - at);
    EXPECT_EQ(std::count(entry.begin(), entry.end(), '/'), 1) << entry;
    for (char c : entry) EXPECT_TRUE(islower((unsigned char)c) || isdigit((unsigned char)c) || c == '/') << entry;
    at = end + 3;
  }
  EXPECT_EQ(count, 4);
}

TEST(Scroller, WindowTiming) {
  auto blankLine = [](int32_t tick) {
    for (int k = 1; k <= 16; k++)
      if (ScrollerGlyphAt(tick, k).Character != ' ') return false;
    return true;
  };
  for (int32_t tick = 0; tick < 40; tick++) EXPECT_TRUE(blankLine(tick)) << tick;
  EXPECT_EQ(ScrollerGlyphAt(40, 16).Character, 'M');
  for (int k = 1; k < 16; k++) EXPECT_EQ(ScrollerGlyphAt(40, k).Character, ' ');
  EXPECT_EQ(ScrollerGlyphAt(60, 15).Character, 'M');
  EXPECT_EQ(ScrollerGlyphAt(60, 16).Character, 'E');
  EXPECT_FALSE(blankLine(236 * 20));  // the closing "!" in slot 1
  EXPECT_TRUE(blankLine(237 * 20));
  for (int32_t tick = 238 * 20; tick < 238 * 20 + 40; tick++) EXPECT_TRUE(blankLine(tick)) << tick;

  // Across a window step a character moves on to the next lower slot and
  // carries on: phases a + 0.5 and b + 0.25 per tick, 0.004 further left.
  for (int32_t tick = 40; tick < 2000; tick++) {
    for (int k = 2; k <= 16; k++) {
      ScrollerGlyph now = ScrollerGlyphAt(tick, k);
      ScrollerGlyph next = ScrollerGlyphAt(tick + 1, tick % 20 == 19 ? k - 1 : k);
      ASSERT_EQ(next.Character, now.Character) << tick << " " << k;
      ASSERT_DOUBLE_EQ(next.A - now.A, 0.5);
      ASSERT_DOUBLE_EQ(next.B - now.B, 0.25);
      double slide = (next.X - 0.09 * sin(next.B * M_PI / 100)) - (now.X - 0.09 * sin(now.B * M_PI / 100));
      ASSERT_NEAR(slide, -0.004, 1e-6) << tick << " " << k;
    }
  }
}

TEST(Banner, AnimationAtChosenTicks) {
  float colours[7 * 5 * 4], texCoords[7 * 5 * 2];
  VectorKey key{};
  BannerRecord banner{};
  banner.PositionTrack = VectorTrack{1, 1, &key};
  banner.GridColours = colours;
  banner.GridTexCoords = texCoords;
  banner.GridColumns = 7;
  banner.GridRows = 5;

  AnimateBannerRecord(banner, 0);
  EXPECT_FLOAT_EQ(key.Value.x, 0.666665f);
  EXPECT_FLOAT_EQ(key.Value.y, 0.75f);
  EXPECT_FLOAT_EQ(key.Value.z, 0);
  EXPECT_FLOAT_EQ(texCoords[0], 0);
  EXPECT_FLOAT_EQ(texCoords[1], 0.03f);
  EXPECT_FLOAT_EQ(colours[3], 0.8f);
  int last = 4 * 7 + 6;  // bottom right: u = v = 1
  EXPECT_NEAR(texCoords[2 * last], 1.0278199, 1e-6);
  EXPECT_NEAR(texCoords[2 * last + 1], 1.0060573, 1e-6);
  EXPECT_NEAR(colours[4 * last + 3], 0.8140622, 1e-6);

  float lowest = 1, highest = 0;
  for (int32_t tick = 0; tick < 12000; tick += 3) {
    AnimateBannerRecord(banner, tick);
    for (int n = 0; n < 35; n++) {
      lowest = std::min(lowest, colours[4 * n + 3]);
      highest = std::max(highest, colours[4 * n + 3]);
    }
  }
  EXPECT_GE(lowest, 0.2f);
  EXPECT_LE(highest, 1.0f);
  EXPECT_LT(lowest, 0.3f);
  EXPECT_GT(highest, 0.95f);
}
