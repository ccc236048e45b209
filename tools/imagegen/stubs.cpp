#include "tools/imagegen/imagegen.h"
bool DrawContactSheet(const FontSet &, const char *, const char *, char *, int) { return false; }
