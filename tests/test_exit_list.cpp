// The exit list: last to first, each once, also when a procedure ends the
// program again; the process ends once, with the code asked for.
// frosten-test-links: show
#include "core/program.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

static void First() { fprintf(stderr, "first;"); }
static void Second() { fprintf(stderr, "second;"); }
static void Third() { fprintf(stderr, "third;"); }
static void EndsAgain() {
  fprintf(stderr, "again;");
  EndProgram(7);
}
static int RunCount;
static void Counted() {
  RunCount++;
  fprintf(stderr, "counted %d;", RunCount);
}

TEST(ExitList, RunsLastRegisteredFirstThenExitsWithCode) {
  EXPECT_EXIT(
      {
        RegisterExitProcedure(First);
        RegisterExitProcedure(Second);
        RegisterExitProcedure(Third);
        EndProgram();
      },
      testing::ExitedWithCode(0), "^third;second;first;$");
  EXPECT_EXIT(
      {
        RegisterExitProcedure(First);
        EndProgram(1);
      },
      testing::ExitedWithCode(1), "^first;$");
}

TEST(ExitList, ProcedureEndingTheProgramFinishesTheRestOnce) {
  // The inner EndProgram runs the procedures still waiting, each once, and
  // the process ends there with the inner code: nothing runs twice.
  EXPECT_EXIT(
      {
        RegisterExitProcedure(First);
        RegisterExitProcedure(Counted);
        RegisterExitProcedure(EndsAgain);
        RegisterExitProcedure(Third);
        EndProgram(0);
      },
      testing::ExitedWithCode(7), "^third;again;counted 1;first;$");
}

TEST(ExitList, EmptyListJustEnds) {
  EXPECT_EXIT(EndProgram(3), testing::ExitedWithCode(3), "^$");
}

TEST(ExitList, RunExitProceduresEmptiesTheList) {
  RunCount = 0;
  RegisterExitProcedure(Counted);
  testing::internal::CaptureStderr();
  RunExitProcedures();
  RunExitProcedures();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(RunCount, 1);
}

TEST(KeyPressed, OnlyEscapeEnds) {
  RegisterExitProcedure(First);
  for (int key = 0; key < 256; key++)
    if (key != 27) KeyPressed((unsigned char)key, 0, 0);
  EXPECT_EXIT(KeyPressed(27, 5, 5), testing::ExitedWithCode(0), "^first;$");
  testing::internal::CaptureStderr();
  RunExitProcedures();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "first;");
}
