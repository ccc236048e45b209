// The run-time error report: its text, and that the exit list runs before
// the box and the process ends with the error code.
// frosten-test-links: show
#include "core/exit_list.h"
#include "platform/runtime_error.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

static void Goodbye() { fprintf(stderr, "goodbye;"); }

TEST(RunTimeErrorReport, TextHasCodeAddressStackAndEmptyLine) {
  void *stack[3] = {(void *)&Goodbye, (void *)&RunTimeError, (void *)&EndProgram};
  char report[256];
  FormatRunTimeError(report, sizeof report, 100, stack, 3);
  std::string text = report;
  EXPECT_TRUE(std::regex_match(text, std::regex("Runtime error 100 at 0x[0-9A-F]{8}\r\n"
                                                "  0x[0-9A-F]{8}\r\n  0x[0-9A-F]{8}\r\n\r\n")))
      << text;
}

TEST(RunTimeErrorReport, TruncatesInsteadOfOverflowing) {
  void *stack[32];
  for (void *&entry : stack) entry = (void *)&Goodbye;
  char report[40];
  FormatRunTimeError(report, sizeof report, 2, stack, 32);
  EXPECT_LT(std::string(report).size(), sizeof report);
  EXPECT_EQ(std::string(report).rfind("Runtime error 2 at 0x", 0), 0u);
}

TEST(RunTimeErrorReport, ExitListFirstThenReportThenErrorCode) {
  // Without a display the box is printed on stderr as "Error: ...".
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        SetRunTimeErrorReport(ShowRunTimeError);
        RegisterExitProcedure(Goodbye);
        RunTimeError(5);
      },
      testing::ExitedWithCode(5), "^goodbye;Error: Runtime error 5 at 0x[0-9A-F]{8}\n(  0x[0-9A-F]{8}\n)+\n\n$");
}

TEST(RunTimeErrorReport, WithoutTheShowsReportALineOnStderr) {
  EXPECT_EXIT(
      {
        SetRunTimeErrorReport(nullptr);
        RegisterExitProcedure(Goodbye);
        RunTimeError(100);
      },
      testing::ExitedWithCode(100), "^goodbye;Runtime error 100\n$");
}
