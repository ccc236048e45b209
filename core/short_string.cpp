#include "core/short_string.h"

#include <cstring>

void SetShortString(ShortString &s, const char *text) {
  size_t n = text ? strnlen(text, SHORT_STRING_MAX) : 0;
  if (n) memcpy(s.Text, text, n);
  s.Text[n] = 0;
  s.Length = (uint8_t)n;
}

void AppendShortString(ShortString &s, char c) {
  if (s.Length >= SHORT_STRING_MAX) return;
  s.Text[s.Length++] = c;
  s.Text[s.Length] = 0;
}

bool SameShortString(const ShortString &a, const ShortString &b) {
  return a.Length == b.Length && memcmp(a.Text, b.Text, a.Length) == 0;
}

bool SameShortString(const ShortString &a, const char *text) {
  size_t n = strlen(text);
  return n == a.Length && memcmp(a.Text, text, n) == 0;
}
