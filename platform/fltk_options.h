// FLTK reads its options from preference files on first use and writes the
// files back (~/.fltk/fltk.org/fltk.prefs and, as root, /etc/fltk/...),
// creating them when they are missing. The program writes no files: this
// reads the options the same way without writing anything.
#pragma once

// Call before the first FLTK window; later calls do nothing.
void ReadFltkOptionsWithoutWriting();
