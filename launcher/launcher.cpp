#include "launcher/launcher.h"

#include "launcher/display.h"

// Until the launcher window exists the show opens a 640x480 window.
void RunLauncher(uint32_t extraDisplayMode) {
  DisplaySettings = {640, 480, 32, false, false};
  OpenDisplay(DisplaySettings.ScreenWidth, DisplaySettings.ScreenHeight, DisplaySettings.ScreenBits,
              DisplaySettings.Fullscreen, extraDisplayMode);
}
