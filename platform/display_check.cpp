#include "platform/display_check.h"

#include "platform/x_display.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

enum { OPEN_TRIES = 20, OPEN_PAUSE_MS = 50 };

bool XDisplayOpensQuietly(const char *name) {
  const char *shown = name ? name : getenv("DISPLAY");
  if (!shown || !*shown) return false;
  fflush(stderr);
  int saved = dup(2), quiet = open("/dev/null", O_WRONLY);
  if (saved >= 0 && quiet >= 0) dup2(quiet, 2);
  Display *display = nullptr;
  for (int i = 0; i < OPEN_TRIES && !display; i++) {
    display = XOpenDisplay(name);
    if (!display && i + 1 < OPEN_TRIES) {
      timespec pause = {0, OPEN_PAUSE_MS * 1000000L};
      nanosleep(&pause, nullptr);
    }
  }
  if (saved >= 0 && quiet >= 0) dup2(saved, 2);
  if (saved >= 0) close(saved);
  if (quiet >= 0) close(quiet);
  if (!display) return false;
  // The run's shared connection is opened before this one closes: a server
  // that resets when its last client leaves would otherwise reset right here
  // and refuse the connection GLUT opens next.
  if (!name) SharedXDisplay();
  XCloseDisplay(display);
  return true;
}
