// Blanking held off through the MIT-SCREEN-SAVER extension: with a one-second
// timeout the saver stays off while blanking is suspended and comes on after
// it is resumed.
// frosten-test: x11
#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "platform/blanking.h"
#include "platform/x_display.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdlib>
#include <unistd.h>

static int SaverState(Display *display) {
  XScreenSaverInfo *info = XScreenSaverAllocInfo();
  XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
  int state = info->state;
  XFree(info);
  return state;
}

TEST(Blanking, SuspendHoldsTheSaverOffUntilResumed) {
  Display *display = getenv("DISPLAY") ? SharedXDisplay() : nullptr;
  int event, error;
  if (!display || !XScreenSaverQueryExtension(display, &event, &error)) GTEST_SKIP() << "no MIT-SCREEN-SAVER";
  int timeout, interval, blanking, exposures;
  XGetScreenSaver(display, &timeout, &interval, &blanking, &exposures);
  XResetScreenSaver(display);
  XSetScreenSaver(display, 1, interval, blanking, exposures);
  XSync(display, False);

  SuspendBlanking();
  sleep(3);
  EXPECT_EQ(SaverState(display), ScreenSaverOff);
  ResumeBlanking();
  sleep(3);
  EXPECT_EQ(SaverState(display), ScreenSaverOn);

  XResetScreenSaver(display);
  XSetScreenSaver(display, timeout, interval, blanking, exposures);
  XSync(display, False);
}
