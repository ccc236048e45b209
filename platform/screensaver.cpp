#include "platform/screensaver.h"

#include "platform/shared_hold.h"
#include "platform/x_display.h"

#include <X11/Xlib.h>

struct SavedScreenSaver {
  bool Saved;
  int Timeout, Interval, Blanking, Exposures;
};

static SavedScreenSaver Previous;
// The shared hold of the timeout: two shows on one display keep the screen
// saver off until the last one ends.
static const char SaverHoldName[] = "FROSTEN_SCREEN_SAVER_HOLD";
static bool SaverHeld;

static void SwitchOff(Display *display, int timeout, int interval, int blanking, int exposures) {
  long values[4] = {timeout, interval, blanking, exposures};
  SaverHeld = SaverHeld || JoinSharedHold(display, SaverHoldName, values, 4);
  if (values[0] != 0) Previous = {true, (int)values[0], (int)values[1], (int)values[2], (int)values[3]};
  XSetScreenSaver(display, 0, interval, blanking, exposures);
}

static void PutBack(Display *display) {
  long values[4];
  if (SaverHeld) {
    SaverHeld = false;
    // Another show still holds it off: it puts the settings back.
    if (!LeaveSharedHold(display, SaverHoldName, values, 4)) return;
    Previous = {true, (int)values[0], (int)values[1], (int)values[2], (int)values[3]};
  }
  // Without remembered settings, -1 asks the server for its defaults.
  if (Previous.Saved)
    XSetScreenSaver(display, Previous.Timeout, Previous.Interval, Previous.Blanking, Previous.Exposures);
  else
    XSetScreenSaver(display, -1, -1, DefaultBlanking, DefaultExposures);
}

bool SystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned) {
  Display *display = SharedXDisplay();
  if (!display) return false;
  int timeout, interval, blanking, exposures;
  XGetScreenSaver(display, &timeout, &interval, &blanking, &exposures);
  bool ok = true;
  if (action == SPI_GETSCREENSAVEACTIVE && pvParam) {
    // Held off by another show (or left off by one that was killed), it is
    // as the user set it.
    long saved[4];
    *(bool *)pvParam = timeout != 0 || (SavedByOthers(display, SaverHoldName, saved, 4) && saved[0] != 0);
  } else if (action == SPI_SETSCREENSAVEACTIVE && uiParam == 0) {
    SwitchOff(display, timeout, interval, blanking, exposures);
  } else if (action == SPI_SETSCREENSAVEACTIVE) {
    PutBack(display);
  } else {
    ok = false;
  }
  XSync(display, False);
  return ok;
}
