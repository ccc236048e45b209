// The platform's stand-ins in the browser: message boxes are boxes on the
// page, there are no signals, no screen saver and no blanking to hold off.
#include "platform/blanking.h"
#include "platform/display_check.h"
#include "platform/end_signals.h"
#include "platform/message_box.h"
#include "platform/runtime_error.h"
#include "platform/screensaver.h"
#include "platform/web/web_page.h"

#include <cstdio>

int MessageBoxA(void *, const char *text, const char *title, unsigned) {
  WebPageShowBox(title, text);
  return IDOK;
}

void SetMessageBoxesOnStderr(bool) {}
bool DisplayAvailable() { return true; }
// The page's canvas is the display.
bool XDisplayOpensQuietly(const char *) { return true; }

void MessageBoxLines(const char *text, char *out, int outSize) {
  int n = 0;
  for (const char *p = text; *p && n < outSize - 1; p++) {
    if (*p == '\r' && p[1] == '\n') continue;
    out[n++] = *p == '\r' ? '\n' : *p;
  }
  if (outSize > 0) out[n] = 0;
}

void CatchEndSignals(EndSignalHook) {}
int PendingEndSignal() { return 0; }
void CheckEndSignal() {}
void WaitForEvents(double) {}

void FormatRunTimeError(char *out, int outSize, int code, void *const *, int) {
  snprintf(out, outSize, "Runtime error %d\r\n", code);
}

void ShowRunTimeError(int code) {
  char report[64];
  FormatRunTimeError(report, sizeof report, code, nullptr, 0);
  MessageBoxA(nullptr, report, "Error", MB_OK);
}

void SuspendBlanking() {}
void ResumeBlanking() {}

bool SystemParametersInfoA(unsigned action, unsigned, void *pvParam, unsigned) {
  if (action == SPI_GETSCREENSAVEACTIVE && pvParam) *(bool *)pvParam = false;
  return true;
}
