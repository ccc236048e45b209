#include "platform/message_box.h"

#include "platform/end_signals.h"
#include "platform/fltk_options.h"
#include "platform/x_display.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>

enum { BOX_MARGIN = 16, ICON_SIZE = 40, BUTTON_W = 80, BUTTON_H = 28, MIN_TEXT_W = 180 };

static bool BoxesOnStderr;

void SetMessageBoxesOnStderr(bool on) { BoxesOnStderr = on; }

// The test connection stays open for the run: a server that resets when its
// last client leaves would otherwise reset just as GLUT or FLTK connects.
bool DisplayAvailable() { return SharedXDisplay() != nullptr; }

void MessageBoxLines(const char *text, char *out, int outSize) {
  int n = 0;
  for (const char *p = text ? text : ""; *p && n < outSize - 1; p++) {
    if (*p == '\r') {
      out[n++] = '\n';
      if (p[1] == '\n') p++;
    } else {
      out[n++] = *p;
    }
  }
  out[n] = 0;
}

// FLTK reads '@' in a label as a symbol; double it to show it as it is.
static std::string PlainLabel(const char *text) {
  std::string label;
  for (const char *p = text; *p; p++) {
    label += *p;
    if (*p == '@') label += '@';
  }
  return label;
}

static void CloseBox(Fl_Widget *, void *window) { ((Fl_Window *)window)->hide(); }

int MessageBoxA(void *, const char *text, const char *title, unsigned style) {
  size_t length = text ? strlen(text) : 0;
  std::string lines(length + 1, '\0');
  MessageBoxLines(text, lines.data(), (int)lines.size());
  lines.resize(strlen(lines.c_str()));
  const char *caption = title ? title : "";
  // A program ending on a signal shows and waits for no box.
  if (PendingEndSignal()) return IDOK;

  if (BoxesOnStderr) {
    for (char &c : lines)
      if (c == '\n') c = ' ';
    while (!lines.empty() && lines.back() == ' ') lines.pop_back();
  }
  if (BoxesOnStderr || !DisplayAvailable()) {
    if (*caption) fprintf(stderr, "%s: %s\n", caption, lines.c_str());
    else fprintf(stderr, "%s\n", lines.c_str());
    return IDOK;
  }

  ReadFltkOptionsWithoutWriting();
  fl_open_display();
  fl_font(FL_HELVETICA, 14);
  int textW = 0, textH = 0;
  fl_measure(lines.c_str(), textW, textH, 0);
  if (textW < MIN_TEXT_W) textW = MIN_TEXT_W;
  bool hasIcon = (style & 0xF0) != 0;
  int iconW = hasIcon ? ICON_SIZE + BOX_MARGIN : 0;
  int w = BOX_MARGIN + iconW + textW + BOX_MARGIN;
  int h = BOX_MARGIN + (textH > ICON_SIZE ? textH : ICON_SIZE) + BOX_MARGIN + BUTTON_H + BOX_MARGIN;

  Fl_Window window((Fl::w() - w) / 2, (Fl::h() - h) / 2, w, h, caption);
  if (hasIcon) {
    Fl_Box *icon = new Fl_Box(BOX_MARGIN, BOX_MARGIN, ICON_SIZE, ICON_SIZE,
                              (style & 0xF0) == MB_ICONEXCLAMATION ? "!" : "X");
    icon->box(FL_OVAL_BOX);
    icon->color((style & 0xF0) == MB_ICONEXCLAMATION ? FL_YELLOW : FL_RED);
    icon->labelfont(FL_HELVETICA_BOLD);
    icon->labelsize(24);
  }
  std::string label = PlainLabel(lines.c_str());
  Fl_Box *message = new Fl_Box(BOX_MARGIN + iconW, BOX_MARGIN, textW, textH > ICON_SIZE ? textH : ICON_SIZE);
  message->label(label.c_str());
  message->labelfont(FL_HELVETICA);
  message->labelsize(14);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP);
  Fl_Return_Button *ok = new Fl_Return_Button((w - BUTTON_W) / 2, h - BOX_MARGIN - BUTTON_H,
                                              BUTTON_W, BUTTON_H, "OK");
  ok->callback(CloseBox, &window);
  window.end();
  window.set_modal();
  window.show();
  while (window.shown() && !PendingEndSignal()) WaitForEvents(0.1);
  if (window.shown()) {
    window.hide();
    CheckEndSignal();
  }
  return IDOK;
}
