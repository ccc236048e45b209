#include "core/slash_path.h"

void SlashPath(const char *path, char *out, int outSize) {
  if (outSize <= 0) return;
  int n = 0;
  for (const char *p = path; *p && n < outSize - 1; p++) out[n++] = *p == '\\' ? '/' : *p;
  out[n] = 0;
}
