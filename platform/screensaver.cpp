#include "platform/screensaver.h"

#include <X11/Xlib.h>

struct SavedScreenSaver {
  bool Saved;
  int Timeout, Interval, Blanking, Exposures;
};

static SavedScreenSaver Previous;
// One connection for the whole run: an X server that is left without
// clients may reset itself and forget what was set.
static Display *SaverDisplay;

bool SystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned) {
  if (!SaverDisplay) SaverDisplay = XOpenDisplay(nullptr);
  Display *display = SaverDisplay;
  if (!display) return false;
  int timeout, interval, blanking, exposures;
  XGetScreenSaver(display, &timeout, &interval, &blanking, &exposures);
  bool ok = true;
  if (action == SPI_GETSCREENSAVEACTIVE && pvParam) {
    *(bool *)pvParam = timeout != 0;
  } else if (action == SPI_SETSCREENSAVEACTIVE && uiParam == 0) {
    if (timeout != 0) Previous = {true, timeout, interval, blanking, exposures};
    XSetScreenSaver(display, 0, interval, blanking, exposures);
  } else if (action == SPI_SETSCREENSAVEACTIVE) {
    // Without remembered settings, -1 asks the server for its defaults.
    if (Previous.Saved)
      XSetScreenSaver(display, Previous.Timeout, Previous.Interval, Previous.Blanking,
                      Previous.Exposures);
    else
      XSetScreenSaver(display, -1, -1, DefaultBlanking, DefaultExposures);
  } else {
    ok = false;
  }
  XSync(display, False);
  return ok;
}
