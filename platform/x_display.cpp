#include "platform/x_display.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdlib>
#include <ctime>

enum { OPEN_TRIES = 20, OPEN_PAUSE_MS = 50 };

Display *OpenXDisplay() {
  const char *name = getenv("DISPLAY");
  int tries = name && *name ? OPEN_TRIES : 1;
  for (int i = 0; i < tries; i++) {
    Display *display = XOpenDisplay(nullptr);
    if (display) return display;
    if (i + 1 < tries) {
      timespec pause = {0, OPEN_PAUSE_MS * 1000000L};
      nanosleep(&pause, nullptr);
    }
  }
  return nullptr;
}

Display *SharedXDisplay() {
  static Display *display;
  if (!display) display = OpenXDisplay();
  return display;
}

void IgnoreRootWindowChanges(Display *display, int screen) {
  XSelectInput(display, RootWindow(display, screen), NoEventMask);
  XRRSelectInput(display, RootWindow(display, screen), 0);
}
