#include "platform/screensaver.h"

#include "platform/x_display.h"

#include <X11/Xlib.h>

struct SavedScreenSaver {
  bool Saved;
  int Timeout, Interval, Blanking, Exposures;
};

static SavedScreenSaver Previous;

bool SystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned) {
  Display *display = SharedXDisplay();
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
