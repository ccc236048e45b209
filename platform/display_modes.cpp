#include "platform/display_modes.h"

#include "platform/x_display.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

int32_t RefreshRate(uint64_t dotClock, uint32_t hTotal, uint32_t vTotal) {
  uint64_t pixels = (uint64_t)hTotal * vTotal;
  if (pixels == 0) return 0;
  return (int32_t)((dotClock + pixels / 2) / pixels);
}

// Bits per pixel of the default depth as the server stores it (24 -> 32).
static int32_t ScreenBitsPerPixel(Display *display, int screen) {
  int depth = DefaultDepth(display, screen);
  int count = 0;
  XPixmapFormatValues *formats = XListPixmapFormats(display, &count);
  int32_t bits = 0;
  for (int i = 0; formats && i < count && bits == 0; i++) {
    if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
  }
  if (formats) XFree(formats);
  return bits ? bits : depth;
}

// The screen as it is now; the connection's own record of the screen size
// dates from when the connection was opened.
static DisplayMode CurrentMode(Display *display, int screen) {
  Window root;
  int x, y;
  unsigned width, height, border, depth;
  DisplayMode mode = {DisplayWidth(display, screen), DisplayHeight(display, screen), ScreenBitsPerPixel(display, screen), 0};
  if (XGetGeometry(display, RootWindow(display, screen), &root, &x, &y, &width, &height, &border, &depth)) {
    mode.Width = (int32_t)width;
    mode.Height = (int32_t)height;
  }
  return mode;
}

static int32_t ModeRefreshRate(const XRRModeInfo &info) {
  uint32_t vTotal = info.vTotal;
  if (info.modeFlags & RR_DoubleScan) vTotal *= 2;
  int32_t rate = RefreshRate(info.dotClock, info.hTotal, vTotal);
  if (info.modeFlags & RR_Interlace) rate *= 2;
  return rate;
}

// The output whose modes the list shows: the primary one, or else the first
// connected output that has modes. Null when there is none.
static XRROutputInfo *ListedOutput(Display *display, Window root, XRRScreenResources *resources) {
  RROutput primary = XRRGetOutputPrimary(display, root);
  if (primary != None) {
    XRROutputInfo *output = XRRGetOutputInfo(display, resources, primary);
    if (output && output->connection == RR_Connected && output->nmode > 0) return output;
    if (output) XRRFreeOutputInfo(output);
  }
  for (int i = 0; i < resources->noutput; i++) {
    XRROutputInfo *output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    if (output && output->connection == RR_Connected && output->nmode > 0) return output;
    if (output) XRRFreeOutputInfo(output);
  }
  return nullptr;
}

// Mode modeNum of the listed output. With no usable RandR the server is taken
// to have one mode, the current one.
static bool OutputMode(Display *display, int screen, int32_t modeNum, DisplayMode *mode) {
  int eventBase, errorBase, major = 0, minor = 0;
  bool randr = XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
               (major > 1 || (major == 1 && minor >= 3));
  Window root = RootWindow(display, screen);
  XRRScreenResources *resources = randr ? XRRGetScreenResourcesCurrent(display, root) : nullptr;
  XRROutputInfo *output = resources ? ListedOutput(display, root, resources) : nullptr;
  bool found = false;
  if (output) {
    if (modeNum < output->nmode) {
      for (int i = 0; i < resources->nmode && !found; i++) {
        const XRRModeInfo &info = resources->modes[i];
        if (info.id != output->modes[modeNum]) continue;
        *mode = {(int32_t)info.width, (int32_t)info.height, ScreenBitsPerPixel(display, screen),
                 ModeRefreshRate(info)};
        found = true;
      }
    }
    XRRFreeOutputInfo(output);
  } else if (modeNum == 0) {
    *mode = CurrentMode(display, screen);
    found = true;
  }
  if (resources) XRRFreeScreenResources(resources);
  return found;
}

bool EnumDisplaySettingsA(const char *deviceName, int32_t modeNum, DisplayMode *mode) {
  if (deviceName != nullptr || mode == nullptr || modeNum < ENUM_CURRENT_SETTINGS) return false;
  Display *display = SharedXDisplay();
  if (!display) return false;
  int screen = DefaultScreen(display);
  if (modeNum == ENUM_CURRENT_SETTINGS) {
    *mode = CurrentMode(display, screen);
    return true;
  }
  return OutputMode(display, screen, modeNum, mode);
}
