// The show clock and the frame driver over long runs and long pauses: 64-bit
// show time from a steady reading that starts near INT32_MAX ms, runs for a
// year, steps back and reads nonsense; the tick past 2^31 ticks; and the
// snow, which steps every tick of a short stall and at most the bound after
// a long one, on across the wrap.
// frosten-test: x11
#include "core/frame.h"
#include "effects/particles.h"
#include "effects/setup.h"
#include "launcher/display.h"
#include "scene/scene.h"
#include "offscreen/frame_capture.h"
#include "tests/capture_window.h"

#include <gtest/gtest.h>
#include <climits>
#include <unistd.h>

static const int64_t MS = 1000000, SECOND = 1000 * MS, HOUR = 3600 * SECOND, DAY = 24 * HOUR;
static int64_t FakeNs;
static int64_t FakeReading() { return FakeNs; }

TEST(ShowClock, SixtyFourBitsMonotonicFromAnyReading) {
  SetClockSource(nullptr);
  SetSteadyReading(FakeReading);
  FakeNs = (int64_t)INT32_MAX * MS - 5 * SECOND;
  ResetClock(INT32_MAX - 1000);
  FakeNs += 2 * SECOND;
  EXPECT_EQ(ClockMs(), (int64_t)INT32_MAX + 1000);
  FakeNs += 365 * DAY;
  int64_t year = ClockMs();
  EXPECT_EQ(year, (int64_t)INT32_MAX + 1000 + 365 * DAY / MS);
  // Back an hour: time stands still, then runs on from where it stood.
  FakeNs -= HOUR;
  EXPECT_EQ(ClockMs(), year);
  FakeNs += SECOND;
  EXPECT_EQ(ClockMs(), year + 1000);
  // Readings at the ends of the range: defined, never backwards.
  for (int64_t reading : {INT64_MIN, INT64_MAX, (int64_t)0, INT64_MAX}) {
    FakeNs = reading;
    EXPECT_GE(ClockMs(), year + 1000);
  }
  ResetClock(INT64_MAX - 10);
  FakeNs = INT64_MAX;
  EXPECT_EQ(ClockMs(), INT64_MAX - 10);
  SetSteadyReading(nullptr);

  // Ticks: halves to even, exact far out, the timeline wrapping to 0.
  EXPECT_EQ(TickOfMs(25), 2);
  EXPECT_EQ(TickOfMs(75), 4);
  EXPECT_EQ(TickOfMs(-25), -2);
  EXPECT_EQ(TickOfMs(INT32_MAX), 128849019);
  int64_t wrapMs = (int64_t)SHOW_TICK_WRAP * 1000 / 60;
  EXPECT_EQ(TickOfMs(wrapMs), SHOW_TICK_WRAP);
  EXPECT_EQ(TimelineTick(SHOW_TICK_WRAP - 1), SHOW_TICK_WRAP - 1);
  EXPECT_EQ(TimelineTick(SHOW_TICK_WRAP + 5), 5);
  EXPECT_EQ(TimelineTick(TickOfMs(INT64_MAX)), TimelineTick(((int64_t)1 << 61) * 3 / 50));
  EXPECT_GE(TimelineTick(TickOfMs(INT64_MIN)), 0);
  EXPECT_EQ(CatchUpTicks(TickOfMs(INT64_MIN), TickOfMs(INT64_MAX)), (uint32_t)MAX_CATCH_UP_TICKS);
  EXPECT_EQ(CatchUpTicks(10, 5), 0u);
}

class CatchUp : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Ready = OpenShowScene(W, H);
  }
  void SetUp() override {
    if (!Ready) GTEST_SKIP() << "no GL window";
  }
  static const int W = 320, H = 240;
  static inline bool Ready;
};

TEST_F(CatchUp, ShortStallsStepEveryTickLongPausesTheBound) {
  ASSERT_GT(ShowScene.ParticleSystemCount, 0u);
  SetClockSource(nullptr);
  SetSteadyReading(FakeReading);
  FakeNs = 1000 * DAY;
  ResetClock(INT32_MAX - 500);
  DrawFrame();
  // With lives too long to end, the life a flake has left counts the steps.
  const int32_t Forever = 1000000000;
  auto stepsAfter = [&](int64_t ns) {
    for (uint32_t s = 0; s < ShowScene.ParticleSystemCount; s++)
      for (uint32_t i = 0; i < ShowScene.ParticleSystems[s].Count; i++)
        ShowScene.ParticleSystems[s].Particles[i].LifeLeft = Forever;
    FakeNs += ns;
    DrawFrame();
    const ParticleSystem &last = ShowScene.ParticleSystems[ShowScene.ParticleSystemCount - 1];
    EXPECT_EQ(last.Particles[0].LifeLeft, ShowScene.ParticleSystems[0].Particles[0].LifeLeft);
    return Forever - last.Particles[last.Count - 1].LifeLeft;
  };
  EXPECT_EQ(stepsAfter(SECOND / 60), 1);
  EXPECT_EQ(stepsAfter(2 * SECOND), 120);
  EXPECT_EQ(stepsAfter(10 * SECOND), 600);
  EXPECT_EQ(stepsAfter(64 * HOUR), MAX_CATCH_UP_TICKS);
  EXPECT_EQ(stepsAfter(-HOUR), 0);
  EXPECT_EQ(stepsAfter(SECOND), 60);
  // Up to 5 s before the timeline's wrap, then over it: the snow steps on.
  ResetClock((int64_t)SHOW_TICK_WRAP * 1000 / 60 - 5000);
  EXPECT_EQ(stepsAfter(SECOND / 60), MAX_CATCH_UP_TICKS);
  EXPECT_EQ(CurrentTick, SHOW_TICK_WRAP - 299);
  EXPECT_EQ(stepsAfter(10 * SECOND), MAX_CATCH_UP_TICKS);
  EXPECT_EQ(CurrentTick, 301);
  SetSteadyReading(nullptr);
}
