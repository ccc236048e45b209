// The launcher: the mode entries, the default selection, the display modes
// from the X server, and the window with its controls and handling.
// frosten-test: x11
// frosten-test-links: show
#include <gtest/gtest.h>

#include "launcher/display.h"
#include "launcher/launcher.h"
#include "platform/display_modes.h"
#include "platform/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Window.H>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>
#include <vector>

TEST(LauncherEntries, ModeEntryText) {
  EXPECT_EQ(ModeEntry(800, 600, 16), "800x600:16");
  EXPECT_EQ(ModeEntry(640, 480, 32), "640x480:32");
  EXPECT_EQ(ModeEntry(3840, 2160, 32), "3840x2160:32");
}

TEST(LauncherEntries, DefaultSelectionIsFirst640x480x32) {
  // Repeated entries: the first one wins.
  EXPECT_EQ(DefaultModeIndex({"1024x768:32", "640x480:16", "640x480:32", "640x480:32"}), 2);
  // None at all: no selection.
  EXPECT_EQ(DefaultModeIndex({"1024x768:32", "640x480:16", "800x600:32"}), -1);
  EXPECT_EQ(DefaultModeIndex({}), -1);
  // The entry must begin with the text, not merely contain it.
  EXPECT_EQ(DefaultModeIndex({"6400x480:32", "1640x480:32", "640x480:32"}), 2);
  // A longer entry that begins with it is found, as the list's search does.
  EXPECT_EQ(DefaultModeIndex({"640x480:320"}), 0);
}

TEST(DisplayModes, RefreshRateOfTimings) {
  EXPECT_EQ(RefreshRate(25200000, 800, 525), 60);
  EXPECT_EQ(RefreshRate(25175000, 800, 525), 60); // 59.94 Hz rounds to 60
  EXPECT_EQ(RefreshRate(31500000, 840, 500), 75);
  EXPECT_EQ(RefreshRate(65000000, 1344, 806), 60);
  EXPECT_EQ(RefreshRate(65000000, 0, 806), 0);
  EXPECT_EQ(RefreshRate(0, 0, 0), 0);
}

static bool HaveDisplay() { return DisplayAvailable(); }

TEST(DisplayModes, EnumerationOfTheServer) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  DisplayMode mode = {};
  int32_t count = 0;
  while (count < 100000 && EnumDisplaySettingsA(nullptr, count, &mode)) {
    EXPECT_GT(mode.Width, 0);
    EXPECT_GT(mode.Height, 0);
    EXPECT_TRUE(mode.BitsPerPixel == 8 || mode.BitsPerPixel == 16 || mode.BitsPerPixel == 24 ||
                mode.BitsPerPixel == 32)
        << mode.BitsPerPixel;
    count++;
  }
  EXPECT_GE(count, 1);
  EXPECT_LT(count, 100000);

  // Past the end: false, the record untouched.
  DisplayMode untouched = {1, 2, 3, 4};
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, count, &untouched));
  EXPECT_EQ(untouched.Width, 1);
  EXPECT_EQ(untouched.Frequency, 4);
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, -2, &untouched));
  EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", 0, &untouched));
  EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 0, nullptr));

  // The current mode is the screen's size at its default depth.
  Display *display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  int screen = DefaultScreen(display);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  EXPECT_EQ(mode.Width, DisplayWidth(display, screen));
  EXPECT_EQ(mode.Height, DisplayHeight(display, screen));
  if (DefaultDepth(display, screen) == 24) {
    EXPECT_EQ(mode.BitsPerPixel, 32);
  }
  XCloseDisplay(display);
}

static std::vector<std::string> ServerEntries() {
  std::vector<std::string> entries;
  DisplayMode mode;
  for (int32_t i = 0; EnumDisplaySettingsA(nullptr, i, &mode); i++) {
    entries.push_back(ModeEntry(mode.Width, mode.Height, mode.BitsPerPixel));
  }
  return entries;
}

// One launcher window per test, made as RunLauncher makes it.
struct LauncherWindowTest : testing::Test {
  Fl_Window *Window = nullptr;
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(RegisterLauncherClass());
    Window = CreateLauncherWindow();
    ASSERT_NE(Window, nullptr);
  }
  void TearDown() override {
    delete Window;
    Launcher = {};
    Fl::flush();
  }
};

static void ExpectBox(const Fl_Widget *w, int x, int y, int width, int height, const char *label) {
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->x(), x);
  EXPECT_EQ(w->y(), y);
  EXPECT_EQ(w->w(), width);
  EXPECT_EQ(w->h(), height);
  if (label) {
    ASSERT_NE(w->label(), nullptr);
    EXPECT_STREQ(w->label(), label);
  }
  EXPECT_EQ(w->parent(), Launcher.Window);
}

TEST_F(LauncherWindowTest, WindowAndControlsAsLaidOut) {
  EXPECT_STREQ(Window->label(), "glZELT Launcher");
  EXPECT_STREQ(Window->xclass(), "glZELT_Launcher");
  EXPECT_TRUE(Window->shown());
  EXPECT_EQ(Window->border(), 0);
  EXPECT_EQ(Window->w(), 145);
  EXPECT_EQ(Window->h(), 235);
  int sx, sy, sw, sh;
  Fl::screen_xywh(sx, sy, sw, sh, 0);
  EXPECT_EQ(Window->x(), sx + (sw - 145) / 2);
  EXPECT_EQ(Window->y(), sy + (sh - 235) / 2);

  ExpectBox(Launcher.FullscreenBox, 10, 70, 120, 20, "Fullscreen");
  ExpectBox(Launcher.CompressBox, 10, 90, 120, 20, "TexCompress");
  ExpectBox(Launcher.ModeList, 10, 40, 120, 20, nullptr);
  ExpectBox(Launcher.OkayButton, 10, 180, 50, 25, "Okay");
  ExpectBox(Launcher.CancelButton, 80, 180, 50, 25, "Cancel");
  // The label above the list.
  bool labelFound = false;
  for (int i = 0; i < Window->children(); i++) {
    const Fl_Widget *child = Window->child(i);
    if (child->label() && std::string(child->label()) == "Resolution/Bits:") {
      labelFound = child->x() == 10 && child->y() == 20;
    }
  }
  EXPECT_TRUE(labelFound);
  // Okay is the default button and has the focus.
  EXPECT_EQ(Launcher.OkayButton->shortcut(), FL_Enter);
  EXPECT_EQ(Fl::focus(), Launcher.OkayButton);
}

TEST_F(LauncherWindowTest, ListHoldsTheServerModesWithTheDefaultSelected) {
  std::vector<std::string> entries = ServerEntries();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(Launcher.ModeTexts, entries);
  ASSERT_EQ(Launcher.ModeList->size(), (int)entries.size() + 1); // with the closing item
  for (size_t i = 0; i < entries.size(); i++) {
    EXPECT_STREQ(Launcher.ModeList->menu()[i].label(), entries[i].c_str());
  }
  EXPECT_EQ(Launcher.ModeList->value(), DefaultModeIndex(entries));
  EXPECT_EQ(Launcher.FullscreenBox->value(), 1);
  EXPECT_EQ(Launcher.CompressBox->value(), 0);
}

TEST_F(LauncherWindowTest, ChoicesSurviveBeingShownAgain) {
  Launcher.FullscreenBox->value(0);
  Launcher.CompressBox->value(1);
  int last = (int)Launcher.ModeTexts.size() - 1;
  Launcher.ModeList->value(last);
  LauncherWindowProc(Window, LAUNCHER_SHOWN, nullptr);
  EXPECT_EQ(Launcher.FullscreenBox->value(), 0);
  EXPECT_EQ(Launcher.CompressBox->value(), 1);
  EXPECT_EQ(Launcher.ModeList->value(), last);
  EXPECT_EQ((int)Launcher.ModeTexts.size(), last + 1);
}

TEST_F(LauncherWindowTest, OkayStoresTheChosenModeAndOptions) {
  int last = (int)Launcher.ModeTexts.size() - 1;
  DisplayMode mode;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, last, &mode));
  Launcher.FullscreenBox->value(0);
  Launcher.CompressBox->value(1);
  Launcher.ModeList->value(last);
  DisplaySettings = {-1, -1, -1, true, false};
  LauncherWindowProc(Window, LAUNCHER_COMMAND, Launcher.OkayButton);
  EXPECT_EQ(DisplaySettings.ScreenWidth, mode.Width);
  EXPECT_EQ(DisplaySettings.ScreenHeight, mode.Height);
  EXPECT_EQ(DisplaySettings.ScreenBits, mode.BitsPerPixel);
  EXPECT_FALSE(DisplaySettings.Fullscreen);
  EXPECT_TRUE(DisplaySettings.TexCompress);
  EXPECT_FALSE(Window->shown());
}

TEST_F(LauncherWindowTest, CloseWithoutSelectionUsesTheCurrentMode) {
  DisplayMode current;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
  Launcher.ModeList->value((const Fl_Menu_Item *)nullptr);
  DisplaySettings = {-1, -1, -1, false, true};
  LauncherWindowProc(Window, LAUNCHER_CLOSE, nullptr);
  EXPECT_EQ(DisplaySettings.ScreenWidth, current.Width);
  EXPECT_EQ(DisplaySettings.ScreenHeight, current.Height);
  EXPECT_EQ(DisplaySettings.ScreenBits, current.BitsPerPixel);
  EXPECT_TRUE(DisplaySettings.Fullscreen);
  EXPECT_FALSE(DisplaySettings.TexCompress);
  EXPECT_FALSE(Window->shown());
}

TEST_F(LauncherWindowTest, CancelEndsTheProgramWithZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LauncherWindowProc(Window, LAUNCHER_COMMAND, Launcher.CancelButton), testing::ExitedWithCode(0), "");
}

TEST(LauncherFailure, NoDisplayConnection) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("DISPLAY", ":31999", 1);
        RunLauncher(0);
      },
      testing::ExitedWithCode(1), "WinRegister failed");
}
