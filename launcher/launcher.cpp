#include "launcher/launcher.h"

#include "core/exit_list.h"
#include "launcher/display.h"
#include "platform/display_modes.h"
#include "platform/end_signals.h"
#include "platform/fltk_options.h"
#include "platform/message_box.h"
#include "platform/x_display.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdio>
#include <cstring>

LauncherWindowRecord Launcher;

const char *const LauncherClassName = "glZELT_Launcher";
const char *const LauncherTitle = "glZELT Launcher";
const char *const DefaultModeEntry = "640x480:32";

std::string ModeEntry(int32_t width, int32_t height, int32_t bits) {
  char text[48];
  snprintf(text, sizeof text, "%dx%d:%d", (int)width, (int)height, (int)bits);
  return text;
}

int DefaultModeIndex(const std::vector<std::string> &entries) {
  size_t length = strlen(DefaultModeEntry);
  for (size_t i = 0; i < entries.size(); i++) {
    if (entries[i].compare(0, length, DefaultModeEntry) == 0) return (int)i;
  }
  return -1;
}

// The mode list holds the entries in enumeration order, repeated ones too,
// so entry i stays display mode i.
static void FillModeList() {
  Launcher.ModeTexts.clear();
  DisplayMode mode;
  for (int32_t i = 0; EnumDisplaySettingsA(nullptr, i, &mode); i++) {
    Launcher.ModeTexts.push_back(ModeEntry(mode.Width, mode.Height, mode.BitsPerPixel));
  }
  std::vector<Fl_Menu_Item> items(Launcher.ModeTexts.size() + 1);
  for (size_t i = 0; i < Launcher.ModeTexts.size(); i++) {
    items[i] = {};
    items[i].text = Launcher.ModeTexts[i].c_str();
  }
  items.back() = {};
  Launcher.ModeList->copy(items.data()); // copies the items, not the texts
  int selected = DefaultModeIndex(Launcher.ModeTexts);
  if (selected >= 0) Launcher.ModeList->value(selected);
  else Launcher.ModeList->value((const Fl_Menu_Item *)nullptr);
}

// The chosen mode into DisplaySettings. Should the mode have gone from the
// server since the list was filled, the current mode is used; without an X
// server the sizes stay as they were.
static void StoreSettings() {
  DisplaySettings.Fullscreen = Launcher.FullscreenBox->value() != 0;
  DisplaySettings.TexCompress = Launcher.CompressBox->value() != 0;
  int selected = Launcher.ModeList->value();
  DisplayMode mode;
  if (EnumDisplaySettingsA(nullptr, selected < 0 ? ENUM_CURRENT_SETTINGS : selected, &mode) ||
      EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
    DisplaySettings.ScreenWidth = mode.Width;
    DisplaySettings.ScreenHeight = mode.Height;
    DisplaySettings.ScreenBits = mode.BitsPerPixel;
  }
}

int LauncherWindowProc(Fl_Window *window, LauncherMessage message, Fl_Widget *control) {
  switch (message) {
  case LAUNCHER_SHOWN:
    // Only the first time: choices made before the user looked at another
    // window and came back are kept.
    if (!Launcher.Filled) {
      Launcher.FullscreenBox->value(1);
      Launcher.CompressBox->value(0);
      FillModeList();
      Launcher.Filled = true;
      window->redraw();
    }
    return 0;
  case LAUNCHER_CLOSE:
    StoreSettings();
    window->hide();
    return 0;
  case LAUNCHER_COMMAND:
    if (control == Launcher.OkayButton) LauncherWindowProc(window, LAUNCHER_CLOSE, nullptr);
    else if (control == Launcher.CancelButton) EndProgram(0);
    return 0;
  }
  return 0;
}

static void ButtonPressed(Fl_Widget *control, void *) { LauncherWindowProc(Launcher.Window, LAUNCHER_COMMAND, control); }

// The window manager's close request. Escape is a key, not a close request:
// it does nothing here.
static void CloseRequested(Fl_Widget *, void *) {
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  LauncherWindowProc(Launcher.Window, LAUNCHER_CLOSE, nullptr);
}

bool RegisterLauncherClass() {
  ReadFltkOptionsWithoutWriting();
  if (fl_display) return true;
  Display *display = OpenXDisplay();
  if (!display) return false;
  fl_open_display(display);
  return true;
}

static Fl_Button *NewButton(int x, int y, const char *text) {
  Fl_Button *button = new Fl_Button(x, y, 50, 25, text);
  button->callback(ButtonPressed);
  return button;
}

Fl_Window *CreateLauncherWindow() {
  int screenX, screenY, screenW, screenH;
  Fl::screen_xywh(screenX, screenY, screenW, screenH, 0);
  Fl_Window *window = new Fl_Window(screenX + (screenW - LAUNCHER_WIDTH) / 2, screenY + (screenH - LAUNCHER_HEIGHT) / 2,
                                    LAUNCHER_WIDTH, LAUNCHER_HEIGHT, LauncherTitle);
  window->xclass(LauncherClassName);
  window->border(0);
  window->size_range(LAUNCHER_WIDTH, LAUNCHER_HEIGHT, LAUNCHER_WIDTH, LAUNCHER_HEIGHT);
  window->callback(CloseRequested);

  Fl_Box *label = new Fl_Box(10, 20, 120, 20, "Resolution/Bits:");
  label->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
  Launcher = {};
  Launcher.Window = window;
  Launcher.FullscreenBox = new Fl_Check_Button(10, 70, 120, 20, "Fullscreen");
  Launcher.CompressBox = new Fl_Check_Button(10, 90, 120, 20, "TexCompress");
  Launcher.ModeList = new Fl_Choice(10, 40, 120, 20);
  Launcher.OkayButton = NewButton(10, 180, "Okay");
  Launcher.OkayButton->shortcut(FL_Enter); // the default button
  Launcher.CancelButton = NewButton(80, 180, "Cancel");
  window->end();

  window->show();
  if (!window->shown()) {
    delete window;
    Launcher = {};
    return nullptr;
  }
  LauncherWindowProc(window, LAUNCHER_SHOWN, nullptr);
  Launcher.OkayButton->take_focus();
  Fl::flush();
  return window;
}

void RunLauncher(uint32_t extraDisplayMode) {
  if (!RegisterLauncherClass()) {
    MessageBoxA(nullptr, "WinRegister failed", nullptr, MB_OK);
    EndProgram(1);
  }
  Fl_Window *window = CreateLauncherWindow();
  if (!window) {
    MessageBoxA(nullptr, "WinCreate failed", nullptr, MB_OK);
    EndProgram(1);
  }
  while (window->shown()) {
    WaitForEvents(0.1);
    CheckEndSignal();
  }
  delete window;
  Launcher.Window = nullptr;
  Launcher.FullscreenBox = Launcher.CompressBox = nullptr;
  Launcher.ModeList = nullptr;
  Launcher.OkayButton = Launcher.CancelButton = nullptr;
  // The connection stays open for later message boxes, but nobody reads it
  // while the show runs: it stops listening to the root window's changes.
  IgnoreRootWindowChanges(fl_display, fl_screen);
  Fl::flush(); // the window leaves the screen before the show's window appears
  OpenDisplay(DisplaySettings.ScreenWidth, DisplaySettings.ScreenHeight, DisplaySettings.ScreenBits,
              DisplaySettings.Fullscreen, extraDisplayMode);
}
