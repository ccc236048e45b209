// A modal message box in the manner of the Windows call the show was
// written against: text, title and style; returns when dismissed.
#pragma once

enum {
  MB_OK = 0x00,
  MB_ICONHAND = 0x10,
  MB_ICONERROR = 0x10,
  MB_ICONEXCLAMATION = 0x30,
  IDOK = 1
};

// Carriage returns in the text are line breaks. Without an X display the box
// is printed on stderr as "TITLE: TEXT" instead. owner is ignored.
int MessageBoxA(void *owner, const char *text, const char *title, unsigned style);

// Programs that must never wait for a click (the frame capture) send every
// box to stderr as one line "TITLE: TEXT", line breaks as blanks.
void SetMessageBoxesOnStderr(bool on);

// True when an X display can be opened. The connection is the shared one of
// platform/x_display.h, kept open for the run.
bool DisplayAvailable();

// Text as the box shows it: CR LF and lone CR become LF.
void MessageBoxLines(const char *text, char *out, int outSize);
