// The screen-saver switch, checked with xset against the test X server.
// frosten-test: x11
// frosten-test-links: show
#include "launcher/display.h"
#include "platform/screensaver.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>

// The "timeout:" value that `xset q` reports, or -1.
static int XsetTimeout() {
  FILE *pipe = popen("xset q", "r");
  if (!pipe) return -1;
  char line[256];
  int timeout = -1;
  while (fgets(line, sizeof line, pipe)) {
    const char *at = strstr(line, "timeout:");
    if (at) timeout = atoi(at + 8);
  }
  pclose(pipe);
  return timeout;
}

class ScreenSaver : public testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY") || system("xset q >/dev/null 2>&1") != 0) GTEST_SKIP() << "no X display";
    // Hold a connection, as the show's window does, so that a server left
    // without clients does not reset its settings between the xset calls.
    bool active;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  }
  void TearDown() override { system("xset s default"); }
};

TEST_F(ScreenSaver, OffDuringTheShowAndRestoredAfter) {
  ASSERT_EQ(system("xset s 420 600"), 0);
  ASSERT_EQ(XsetTimeout(), 420);
  bool active = false;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
  EXPECT_TRUE(active);
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0));
  EXPECT_EQ(XsetTimeout(), 0);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
  EXPECT_FALSE(active);
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0));
  EXPECT_EQ(XsetTimeout(), 420);
}

TEST_F(ScreenSaver, AlreadyOffIsLeftAlone) {
  ASSERT_EQ(system("xset s off"), 0);
  bool active = true;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
  EXPECT_FALSE(active);
  // The display never switched it off: restoring leaves it off.
  RestoreScreenSaver();
  EXPECT_EQ(XsetTimeout(), 0);
}

TEST(ScreenSaverNoDisplay, ReportsFailure) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        bool active = true;
        exit(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) ? 1 : 0);
      },
      testing::ExitedWithCode(0), "");
}
