// The launcher window: display mode and options, then the display opens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Fl_Window;
class Fl_Widget;
class Fl_Check_Button;
class Fl_Choice;
class Fl_Button;

// What the launcher window procedure is told, in the manner of window messages.
enum LauncherMessage {
  LAUNCHER_SHOWN,   // the window is on screen: fill the list and set the defaults, once
  LAUNCHER_CLOSE,   // Okay or any close request: store the settings, destroy the window
  LAUNCHER_COMMAND  // a button was pressed; the control says which
};

// The launcher window and its controls; they live as long as the window.
struct LauncherWindowRecord {
  Fl_Window *Window;
  Fl_Check_Button *FullscreenBox;
  Fl_Check_Button *CompressBox;
  Fl_Choice *ModeList;
  Fl_Button *OkayButton;
  Fl_Button *CancelButton;
  std::vector<std::string> ModeTexts; // entry i is display mode i
  bool Filled;                        // list filled and defaults set
};

extern LauncherWindowRecord Launcher;

enum {
  LAUNCHER_WIDTH = 145,
  LAUNCHER_HEIGHT = 235
};

extern const char *const LauncherClassName; // "glZELT_Launcher"
extern const char *const LauncherTitle;     // "glZELT Launcher"
extern const char *const DefaultModeEntry;  // "640x480:32"

// Shows the launcher and, once confirmed, opens the display with the chosen
// settings. Cancel ends the program with exit code 0; a launcher that cannot
// be shown reports it in a box and ends the program with exit code 1.
void RunLauncher(uint32_t extraDisplayMode);
// Opens the connection to the X server the window lives on.
bool RegisterLauncherClass();
// Creates and shows the window and its controls; null on failure.
Fl_Window *CreateLauncherWindow();
int LauncherWindowProc(Fl_Window *window, LauncherMessage message, Fl_Widget *control);

// List entry of a mode: "WIDTHxHEIGHT:BITS".
std::string ModeEntry(int32_t width, int32_t height, int32_t bits);
// Index of the first entry that begins with DefaultModeEntry, or -1.
int DefaultModeIndex(const std::vector<std::string> &entries);
