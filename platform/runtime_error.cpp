// The run-time error report shown when a data file cannot be read.
#include "platform/runtime_error.h"

#include "platform/message_box.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <execinfo.h>

enum { MAX_STACK = 32 };

// Code addresses are shown relative to the module that holds them, so that
// they fit in eight digits and can be looked up in our own build.
static unsigned ModuleOffset(const void *address) {
  Dl_info info;
  uintptr_t value = (uintptr_t)address;
  if (dladdr(address, &info) && info.dli_fbase) value -= (uintptr_t)info.dli_fbase;
  return (unsigned)(value & 0xFFFFFFFFu);
}

void FormatRunTimeError(char *out, int outSize, int code, void *const *stack, int depth) {
  int used = snprintf(out, outSize, "Runtime error %d at 0x%08X\r\n", code,
                      depth > 0 ? ModuleOffset(stack[0]) : 0u);
  for (int i = 1; i < depth && used >= 0 && used < outSize; i++)
    used += snprintf(out + used, outSize - used, "  0x%08X\r\n", ModuleOffset(stack[i]));
  if (used >= 0 && used < outSize) snprintf(out + used, outSize - used, "\r\n");
}

void ShowRunTimeError(int code) {
  void *frames[MAX_STACK + 2];
  int depth = backtrace(frames, MAX_STACK + 2);
  char report[64 + MAX_STACK * 16];
  // Skip this function's frame and RunTimeError's: the failing address is
  // RunTimeError's caller.
  FormatRunTimeError(report, sizeof report, code, frames + 2, depth - 2);
  MessageBoxA(nullptr, report, "Error", MB_OK);
}
