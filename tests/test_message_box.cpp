// frosten-test: x11
// frosten-test-links: show
#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

static std::string Lines(const char *text) {
  char out[128];
  MessageBoxLines(text, out, sizeof out);
  return out;
}

TEST(MessageBox, CarriageReturnsAreLineBreaks) {
  EXPECT_EQ(Lines("Code:  a.\rPixels: b.\rMuzik: c"), "Code:  a.\nPixels: b.\nMuzik: c");
  EXPECT_EQ(Lines("one\r\ntwo\r\n\r\n"), "one\ntwo\n\n");
  EXPECT_EQ(Lines("plain"), "plain");
  EXPECT_EQ(Lines(nullptr), "");
}

TEST(MessageBox, LongTextIsCutToTheBuffer) {
  std::string longText(500, 'x');
  EXPECT_EQ(Lines(longText.c_str()).size(), 127u);
}

TEST(MessageBox, WithoutDisplayPrintsTitleAndText) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        int result = MessageBoxA(nullptr, "This Fullscreen Mode is NOT supported!", "800x600:16@60",
                                 MB_ICONEXCLAMATION);
        MessageBoxA(nullptr, "WinCreate failed", nullptr, MB_OK);
        exit(result);
      },
      testing::ExitedWithCode(IDOK), "^800x600:16@60: This Fullscreen Mode is NOT supported!\nWinCreate failed\n$");
}
