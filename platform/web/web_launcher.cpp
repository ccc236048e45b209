// The launcher in the browser: the page's own form has taken the choices
// before the program starts; this reads them and opens the display. The
// page's test-only fixed tick is the frame clock's source here.
#include "core/exit_list.h"
#include "core/frame.h"
#include "launcher/display.h"
#include "launcher/launcher.h"
#include "platform/web/web_page.h"

#include <cmath>

static int32_t FixedTick;
static int32_t FixedMs;

static int32_t MsOfTick(int32_t tick) { return (int32_t)std::lround((double)tick * 1000.0 / 60.0); }
static int64_t FixedClock() { return FixedMs; }

// As the frame capture draws a tick: every tick before it stepped, so that
// the snow has moved through each of them.
static void StepToFixedTick() {
  for (int32_t tick = 0; tick < FixedTick; tick++) {
    FixedMs = MsOfTick(tick);
    StepFrame();
  }
  FixedMs = MsOfTick(FixedTick);
}

void RunLauncher(uint32_t extraDisplayMode) {
  RegisterExitProcedure(WebGlutLetProgramEnd);
  WebChoicesRecord choices = WebPageChoices();
  if (choices.Width > 0 && choices.Height > 0) {
    DisplaySettings.ScreenWidth = choices.Width;
    DisplaySettings.ScreenHeight = choices.Height;
  }
  DisplaySettings.Fullscreen = choices.Fullscreen;
  DisplaySettings.TexCompress = choices.TexCompress;
  if (choices.FixedTick >= 0) {
    FixedTick = choices.FixedTick;
    SetClockSource(FixedClock);
    WebGlutBeforeFirstFrame(StepToFixedTick);
  }
  OpenDisplay(DisplaySettings.ScreenWidth, DisplaySettings.ScreenHeight, DisplaySettings.ScreenBits,
              DisplaySettings.Fullscreen, extraDisplayMode);
}
