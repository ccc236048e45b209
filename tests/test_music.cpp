// The show's music steps against the real sound library, traced call by
// call (tests/midas_trace.h): the order of the calls at start and stop, and
// what every failing call leads to. Each run ends the process, so each runs
// in a death test.
// frosten-test-links: show tooling
#include "core/program.h"
#include "music/music.h"
#include "tests/midas_trace.h"
#include "tests/module_writer.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const Lines StartLines = {
  "MIDASstartup() = 1",
  "MIDASsetOption(11, 1) = 1",
  "MIDASinit() = 1",
  "MIDASstartBackgroundPlay(0) = 1",
  "MIDASloadModule(\"mod\\be_good.mod\") = 1",
  "MIDASplayModule(1, 1) = 1",
  "playing",
};
const Lines StopLines = {
  "MIDASstopModule(1) = 1",
  "MIDASfreeModule(1) = 1",
  "MIDASstopBackgroundPlay() = 1",
  "MIDASclose() = 1",
};
const char CreditsLine[] =
    "MessageBoxA(\"FROSTEN 2000\", \"Code:  Schneewitz.\\rPixels: Glitzerbirke.\\rMuzik: Kalte Sohlen\", 0)";

void NoteLastExitProcedure() { TraceNote("last exit procedure"); }

// The music's part of the start-up sequence and an orderly end, with an
// exit procedure registered before the music's, as the display's is.
[[noreturn]] void RunMusic(const std::string &trace, const char *failCall, const char *failMessage) {
  TraceOpen(trace.c_str());
  if (failCall) TraceFailCall(failCall, failMessage);
  RegisterExitProcedure(NoteLastExitProcedure);
  StartMusic();
  PlayMusic();
  RegisterExitProcedure(StopMusicAndShowCredits);
  TraceNote("playing");
  SDL_Delay(100);
  EndProgram(0);
}

class Music : public ::testing::Test {
protected:
  std::string Dir, Trace;
  char Previous[4096] = {};
  void SetUp() override {
    char pattern[] = "/tmp/frosten_music_XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    Dir = pattern;
    Trace = Dir + "/trace.txt";
    ASSERT_EQ(mkdir((Dir + "/mod").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((Dir + "/data").c_str(), 0755), 0);
    ASSERT_TRUE(WriteBytes(Dir + "/mod/be_good.mod", MakeTestModule()));
    ASSERT_TRUE(getcwd(Previous, sizeof Previous));
    ASSERT_EQ(chdir(Dir.c_str()), 0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Without a display the boxes print "TITLE: TEXT" on stderr.
    unsetenv("DISPLAY");
  }
  void TearDown() override {
    ASSERT_EQ(chdir(Previous), 0);
    std::string command = "rm -rf '" + Dir + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << Dir;
  }
  Lines TraceLines() {
    Lines lines;
    std::ifstream file(Trace);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
};

TEST_F(Music, StartsPlaysStopsAndShowsTheCreditsInOrder) {
  EXPECT_EXIT(RunMusic(Trace, nullptr, nullptr), ::testing::ExitedWithCode(0),
              "FROSTEN 2000: Code:  Schneewitz.\nPixels: Glitzerbirke.\nMuzik: Kalte Sohlen");
  Lines expected = StartLines;
  expected.insert(expected.end(), StopLines.begin(), StopLines.end());
  expected.push_back(CreditsLine);
  expected.push_back("last exit procedure");
  EXPECT_EQ(TraceLines(), expected);
}

TEST(Credits, ThreeLabelledLinesOfSixtyCharacters) {
  std::string text = CreditsText;
  EXPECT_EQ(text.size(), 60u);
  size_t first = text.find('\r'), second = text.find('\r', first + 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(text.find('\r', second + 1), std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.rfind("Code:  ", 0), 0u);
  EXPECT_EQ(text.compare(first + 1, 8, "Pixels: "), 0);
  EXPECT_EQ(text.compare(second + 1, 7, "Muzik: "), 0);
  EXPECT_EQ(text[first - 1], '.');
  EXPECT_EQ(text[second - 1], '.');
  EXPECT_NE(text.back(), '.');
}

// Every call whose result counts, made to fail in turn: the "MIDAS" box
// with the library's message, the library closed, no credits, the exit
// procedures registered before still run once, and exit code 1.
TEST_F(Music, EveryFailingCallEndsWithTheErrorBox) {
  const char *calls[] = {"MIDASinit", "MIDASstartBackgroundPlay", "MIDASloadModule", "MIDASplayModule",
                         "MIDASstopModule", "MIDASfreeModule", "MIDASstopBackgroundPlay", "MIDASclose"};
  Lines all = StartLines;
  all.insert(all.end(), StopLines.begin(), StopLines.end());
  for (const char *call : calls) {
    SCOPED_TRACE(call);
    unlink(Trace.c_str());
    std::string box = std::string("MIDAS: midas sound error : injected failure of ") + call;
    EXPECT_EXIT(RunMusic(Trace, call, nullptr), ::testing::ExitedWithCode(1), box);

    Lines expected;
    for (const std::string &line : all) {
      if (line.rfind(std::string(call) + "(", 0) == 0) {
        expected.push_back(line.substr(0, line.size() - 1) + "0 (injected)");
        break;
      }
      expected.push_back(line);
    }
    expected.push_back("MIDASgetLastError() = injected");
    expected.push_back("MIDASgetErrorMessage(injected)");
    expected.push_back("MessageBoxA(\"MIDAS\", \"midas sound error : injected failure of " + std::string(call) +
                       "\", 16)");
    // Closing after a failed MIDASinit finds nothing to close.
    expected.push_back(std::string("MIDASclose() = ") + (std::string(call) == "MIDASinit" ? "0" : "1"));
    expected.push_back("last exit procedure");
    EXPECT_EQ(TraceLines(), expected);
  }
}

TEST_F(Music, MissingOrBadModuleShowsTheLibrarysReason) {
  struct Case {
    const char *Content;  // null: no file
    const char *Message;
  } cases[] = {
    {nullptr, "module file not found: mod/be_good.mod"},
    {"Merry Christmas\n", "not a module file: mod/be_good.mod"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Message);
    unlink(Trace.c_str());
    unlink("mod/be_good.mod");
    if (c.Content) {
      std::string text = c.Content;
      ASSERT_TRUE(WriteBytes("mod/be_good.mod", std::vector<uint8_t>(text.begin(), text.end())));
    }
    EXPECT_EXIT(RunMusic(Trace, nullptr, nullptr), ::testing::ExitedWithCode(1),
                std::string("MIDAS: midas sound error : ") + c.Message);
    Lines expected(StartLines.begin(), StartLines.begin() + 4);
    expected.push_back("MIDASloadModule(\"mod\\be_good.mod\") = 0");
    expected.push_back("MIDASgetLastError() = library's");
    expected.push_back("MIDASgetErrorMessage(library's)");
    expected.push_back(std::string("MessageBoxA(\"MIDAS\", \"midas sound error : ") + c.Message + "\", 16)");
    expected.push_back("MIDASclose() = 1");
    expected.push_back("last exit procedure");
    EXPECT_EQ(TraceLines(), expected);
  }
}

TEST_F(Music, NoAudioDeviceEndsBeforeTheShow) {
  // The disk driver cannot open its file: SDL starts, the device does not.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (Dir + "/no/such/folder.raw").c_str(), 1);
  EXPECT_EXIT(RunMusic(Trace, nullptr, nullptr), ::testing::ExitedWithCode(1),
              "MIDAS: midas sound error : audio device could not be opened: ");
  Lines lines = TraceLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[2], "MIDASinit() = 0");
  EXPECT_EQ(lines[5].rfind("MessageBoxA(\"MIDAS\", \"midas sound error : audio device could not be opened: ", 0), 0u)
      << lines[5];
  EXPECT_EQ(lines[6], "MIDASclose() = 0");
}

TEST_F(Music, ErrorTextIsCutAt255Characters) {
  std::string message(400, 'x');
  EXPECT_EXIT(RunMusic(Trace, "MIDASloadModule", message.c_str()), ::testing::ExitedWithCode(1), "MIDAS: ");
  std::string box = "midas sound error : " + std::string(255 - 20, 'x');
  Lines lines = TraceLines();
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[7], "MessageBoxA(\"MIDAS\", \"" + box + "\", 16)");
}

}  // namespace
