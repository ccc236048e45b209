// The display modes of the X server in the manner of EnumDisplaySettingsA:
// mode i of the current display device, or the current mode. Built on XRandR.
#pragma once

#include <cstdint>

// The parts of a display mode the show uses.
struct DisplayMode {
  int32_t Width;
  int32_t Height;
  int32_t BitsPerPixel;
  int32_t Frequency; // whole hertz, 0 when the server does not say
};

enum { ENUM_CURRENT_SETTINGS = -1 };

// deviceName must be null (the current display device). modeNum 0, 1, 2 ...
// walks the modes of the screen's primary output in the server's order; a
// mode number past the end gives false. ENUM_CURRENT_SETTINGS gives the
// screen's current size. The bits per pixel are those of the screen's default
// depth. False without an X display; *mode is then left as it was.
bool EnumDisplaySettingsA(const char *deviceName, int32_t modeNum, DisplayMode *mode);

// Whole hertz of a mode timing, rounded; 0 when a total is 0.
int32_t RefreshRate(uint64_t dotClock, uint32_t hTotal, uint32_t vTotal);
