#include "tests/midas_trace.h"

#include "platform/midas.h"

#include <GL/freeglut.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

enum { INJECTED_ERROR = 1000 };

struct TraceState {
  FILE *File;
  std::string FailName;
  std::string FailMessage;
  bool Failed;
  std::string FailedName;
  bool BoxShown;
  long Frames;
};

static TraceState Trace;

void TraceOpen(const char *path) {
  if (Trace.File) fclose(Trace.File);
  Trace.File = path ? fopen(path, "a") : nullptr;
}

void TraceFailCall(const char *name, const char *message) {
  Trace.FailName = name ? name : "";
  Trace.FailMessage = message ? message : "";
  Trace.Failed = false;
}

void TraceNote(const char *format, ...) {
  if (!Trace.File) return;
  va_list args;
  va_start(args, format);
  vfprintf(Trace.File, format, args);
  va_end(args);
  fputc('\n', Trace.File);
  fflush(Trace.File);
}

static bool Inject(const char *name) {
  if (Trace.Failed || Trace.FailName != name) return false;
  Trace.Failed = true;
  Trace.FailedName = name;
  return true;
}

// Message texts with their carriage returns spelled out.
static std::string Escaped(const char *text) {
  std::string out;
  for (const char *p = text ? text : "(null)"; *p; p++) {
    if (*p == '\r') out += "\\r";
    else if (*p == '\n') out += "\\n";
    else out += *p;
  }
  return out;
}

extern "C" {
bool __real_MIDASstartup();
bool __real_MIDASsetOption(int option, int value);
bool __real_MIDASinit();
bool __real_MIDASstartBackgroundPlay(uint32_t pollRate);
MIDASmodule __real_MIDASloadModule(const char *fileName);
MIDASmodulePlayHandle __real_MIDASplayModule(MIDASmodule module, int loopSong);
bool __real_MIDASstopModule(MIDASmodulePlayHandle playHandle);
bool __real_MIDASfreeModule(MIDASmodule module);
bool __real_MIDASstopBackgroundPlay();
bool __real_MIDASclose();
int __real_MIDASgetLastError();
const char *__real_MIDASgetErrorMessage(int errorCode);
void __real_glutSwapBuffers();

// Logs "name(arguments) = result", failing the call instead when chosen.
#define TRACED_CALL(type, name, call, format, ...)                                 \
  bool injected = Inject(#name);                                                   \
  type result = injected ? (type)0 : (type)(call);                                 \
  TraceNote(#name "(" format ") = %u%s", __VA_ARGS__ __VA_OPT__(, )(unsigned)result, \
            injected ? " (injected)" : "");                                        \
  return result;

bool __wrap_MIDASstartup() { TRACED_CALL(bool, MIDASstartup, __real_MIDASstartup(), "") }
bool __wrap_MIDASsetOption(int option, int value) {
  TRACED_CALL(bool, MIDASsetOption, __real_MIDASsetOption(option, value), "%d, %d", option, value)
}
bool __wrap_MIDASinit() { TRACED_CALL(bool, MIDASinit, __real_MIDASinit(), "") }
bool __wrap_MIDASstartBackgroundPlay(uint32_t pollRate) {
  TRACED_CALL(bool, MIDASstartBackgroundPlay, __real_MIDASstartBackgroundPlay(pollRate), "%u", pollRate)
}
MIDASmodule __wrap_MIDASloadModule(const char *fileName) {
  TRACED_CALL(MIDASmodule, MIDASloadModule, __real_MIDASloadModule(fileName), "\"%s\"",
              fileName ? fileName : "(null)")
}
MIDASmodulePlayHandle __wrap_MIDASplayModule(MIDASmodule module, int loopSong) {
  TRACED_CALL(MIDASmodulePlayHandle, MIDASplayModule, __real_MIDASplayModule(module, loopSong), "%u, %d",
              module, loopSong)
}
bool __wrap_MIDASstopModule(MIDASmodulePlayHandle playHandle) {
  TRACED_CALL(bool, MIDASstopModule, __real_MIDASstopModule(playHandle), "%u", playHandle)
}
bool __wrap_MIDASfreeModule(MIDASmodule module) {
  TRACED_CALL(bool, MIDASfreeModule, __real_MIDASfreeModule(module), "%u", module)
}
bool __wrap_MIDASstopBackgroundPlay() {
  TRACED_CALL(bool, MIDASstopBackgroundPlay, __real_MIDASstopBackgroundPlay(), "")
}
bool __wrap_MIDASclose() { TRACED_CALL(bool, MIDASclose, __real_MIDASclose(), "") }

int __wrap_MIDASgetLastError() {
  int code = Trace.Failed ? INJECTED_ERROR : __real_MIDASgetLastError();
  TraceNote("MIDASgetLastError() = %s", code == INJECTED_ERROR ? "injected" : "library's");
  return code;
}

const char *__wrap_MIDASgetErrorMessage(int errorCode) {
  static std::string injected;
  TraceNote("MIDASgetErrorMessage(%s)", errorCode == INJECTED_ERROR ? "injected" : "library's");
  if (errorCode != INJECTED_ERROR) return __real_MIDASgetErrorMessage(errorCode);
  injected = Trace.FailMessage.empty() ? "injected failure of " + Trace.FailedName : Trace.FailMessage;
  return injected.c_str();
}

// Frames are traced once at the start and then only after a message box:
// none may follow an error box.
void __wrap_glutSwapBuffers() {
  if (Trace.Frames++ == 0 || Trace.BoxShown) TraceNote("frame");
  __real_glutSwapBuffers();
}
}  // extern "C"

// C++ names are wrapped by their mangled symbols.
int RealMessageBoxA(void *owner, const char *text, const char *title, unsigned style)
    __asm__("__real__Z11MessageBoxAPvPKcS1_j");
int WrapMessageBoxA(void *owner, const char *text, const char *title, unsigned style)
    __asm__("__wrap__Z11MessageBoxAPvPKcS1_j");
bool RealSystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned winIni)
    __asm__("__real__Z21SystemParametersInfoAjjPvj");
bool WrapSystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned winIni)
    __asm__("__wrap__Z21SystemParametersInfoAjjPvj");

int WrapMessageBoxA(void *owner, const char *text, const char *title, unsigned style) {
  TraceNote("MessageBoxA(\"%s\", \"%s\", %u)", title ? title : "(null)", Escaped(text).c_str(), style);
  Trace.BoxShown = true;
  return RealMessageBoxA(owner, text, title, style);
}

bool WrapSystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned winIni) {
  TraceNote("SystemParametersInfoA(%u, %u)", action, uiParam);
  return RealSystemParametersInfoA(action, uiParam, pvParam, winIni);
}
