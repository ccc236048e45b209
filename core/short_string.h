// Short strings: a length and at most 255 single-byte characters. Names of
// files, objects, cameras and parents are held this way; longer input is cut
// to its first 255 characters. Text is kept zero-terminated as well.
#pragma once

#include <cstdint>

enum { SHORT_STRING_MAX = 255 };

struct ShortString {
  uint8_t Length;
  char Text[SHORT_STRING_MAX + 1];
};

// Copies at most 255 characters of a zero-terminated text.
void SetShortString(ShortString &s, const char *text);
// Appends one character unless the string is full (then it is dropped).
void AppendShortString(ShortString &s, char c);
// Exact, case-sensitive comparison.
bool SameShortString(const ShortString &a, const ShortString &b);
bool SameShortString(const ShortString &a, const char *text);
