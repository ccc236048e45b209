#include "platform/blanking.h"

#include "platform/shared_hold.h"
#include "platform/x_display.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

static bool SaverSuspended;
static bool DpmsSwitchedOff;
// DPMS is one setting for the whole display: shared with other shows, so
// the last one to end switches it back on.
static const char DpmsHoldName[] = "FROSTEN_DPMS_HOLD";

// The suspend request came with version 1.1 of the extension.
static bool SaverSuspendOffered(Display *display) {
  int event, error, major = 0, minor = 0;
  return XScreenSaverQueryExtension(display, &event, &error) &&
         XScreenSaverQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 1));
}

static bool DpmsOn(Display *display) {
  int event, error;
  if (!DPMSQueryExtension(display, &event, &error) || !DPMSCapable(display)) return false;
  CARD16 level;
  BOOL on = False;
  return DPMSInfo(display, &level, &on) && on;
}

void SuspendBlanking() {
  Display *display = SharedXDisplay();
  if (!display) return;
  // The suspension belongs to this connection, which stays open for the run.
  if (!SaverSuspended && SaverSuspendOffered(display)) {
    XScreenSaverSuspend(display, True);
    SaverSuspended = true;
  }
  if (!DpmsSwitchedOff) {
    long wasOn = DpmsOn(display);
    DpmsSwitchedOff = JoinSharedHold(display, DpmsHoldName, &wasOn, 1);
    if (wasOn) DPMSDisable(display);
  }
  XSync(display, False);
}

void ResumeBlanking() {
  Display *display = SharedXDisplay();
  if (!display) return;
  if (SaverSuspended) XScreenSaverSuspend(display, False);
  long wasOn = 0;
  if (DpmsSwitchedOff && LeaveSharedHold(display, DpmsHoldName, &wasOn, 1) && wasOn) DPMSEnable(display);
  SaverSuspended = DpmsSwitchedOff = false;
  XSync(display, False);
}
