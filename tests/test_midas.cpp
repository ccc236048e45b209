// The sound library on its own: error rules, module loading, and what the
// audio device receives, captured with SDL's disk driver.
// frosten-test-links: show tooling
#include "platform/midas.h"
#include "tests/module_writer.h"
#include "tests/sound_level.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string MakeTempDir() {
  char pattern[] = "/tmp/frosten_midas_XXXXXX";
  const char *dir = mkdtemp(pattern);
  return dir ? dir : "";
}

std::vector<int16_t> ReadSamples(const std::string &path) {
  std::vector<int16_t> samples;
  FILE *file = fopen(path.c_str(), "rb");
  if (!file) return samples;
  int16_t chunk[8192];
  size_t got;
  while ((got = fread(chunk, sizeof(int16_t), 8192, file)) > 0) samples.insert(samples.end(), chunk, chunk + got);
  fclose(file);
  return samples;
}

int ThreadCount() {
  int count = 0;
  DIR *dir = opendir("/proc/self/task");
  if (!dir) return -1;
  while (dirent *entry = readdir(dir))
    if (entry->d_name[0] != '.') count++;
  closedir(dir);
  return count;
}

// Waits until the device has written at least this many frames (the disk
// driver keeps its own pace, slower on a busy machine); false on timeout.
bool WaitForFrames(const std::string &path, size_t frames, int channels) {
  for (int waited = 0; waited < 20000; waited += 10) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && (size_t)info.st_size >= frames * channels * sizeof(int16_t)) return true;
    SDL_Delay(10);
  }
  return false;
}

std::string LastMessage() { return MIDASgetErrorMessage(MIDASgetLastError()); }

class Midas : public ::testing::Test {
protected:
  std::string Dir, Capture;
  void SetUp() override {
    Dir = MakeTempDir();
    ASSERT_FALSE(Dir.empty());
    Capture = Dir + "/capture.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", Capture.c_str(), 1);
  }
  void TearDown() override {
    MIDASclose();
    std::string command = "rm -rf '" + Dir + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << Dir;
  }
  std::string Write(const char *name, const std::vector<uint8_t> &bytes) {
    std::string path = Dir + "/" + name;
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }
  void Start() {
    ASSERT_TRUE(MIDASstartup());
    ASSERT_TRUE(MIDASsetOption(MIDAS_OPTION_STEREO, 1));
    ASSERT_TRUE(MIDASinit()) << LastMessage();
    ASSERT_TRUE(MIDASstartBackgroundPlay(0)) << LastMessage();
  }
};

TEST_F(Midas, CallsOutOfOrderFailWithTheirReason) {
  EXPECT_FALSE(MIDASinit());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NOT_STARTED);
  EXPECT_FALSE(MIDASsetOption(MIDAS_OPTION_STEREO, 1));
  EXPECT_EQ(MIDASloadModule("x.mod"), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NOT_INITIALISED);
  EXPECT_EQ(LastMessage(), "sound library not initialised");
  EXPECT_EQ(MIDASplayModule(1, 1), 0u);
  EXPECT_FALSE(MIDASstopModule(1));
  EXPECT_FALSE(MIDASfreeModule(1));
  EXPECT_FALSE(MIDASstartBackgroundPlay(0));
  EXPECT_FALSE(MIDASstopBackgroundPlay());
  EXPECT_FALSE(MIDASclose());

  ASSERT_TRUE(MIDASstartup());
  EXPECT_FALSE(MIDASsetOption(3, 1));
  EXPECT_EQ(LastMessage(), "unknown option 3");
  EXPECT_FALSE(MIDASsetOption(MIDAS_OPTION_STEREO, 2));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_BAD_OPTION);
  ASSERT_TRUE(MIDASinit()) << LastMessage();
  EXPECT_FALSE(MIDASinit());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_ALREADY_INITIALISED);
  EXPECT_FALSE(MIDASsetOption(MIDAS_OPTION_STEREO, 0));
  EXPECT_FALSE(MIDASstopBackgroundPlay());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NO_BACKGROUND_PLAY);
  EXPECT_TRUE(MIDASclose());
  EXPECT_FALSE(MIDASclose());

  // Codes other than the last one give their plain text.
  EXPECT_STREQ(MIDASgetErrorMessage(MIDAS_ERROR_NOT_A_MODULE), "not a module file");
  EXPECT_STREQ(MIDASgetErrorMessage(-1), "unknown error");
  EXPECT_STREQ(MIDASgetErrorMessage(MIDAS_ERROR_COUNT), "unknown error");
}

TEST_F(Midas, DeviceThatCannotOpenFailsInInit) {
  // The disk driver starts but cannot open a file in a missing folder: the
  // same shape as a machine whose audio system has no device.
  setenv("SDL_DISKAUDIOFILE", (Dir + "/missing/capture.raw").c_str(), 1);
  ASSERT_TRUE(MIDASstartup());
  EXPECT_FALSE(MIDASinit());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_AUDIO_DEVICE);
  EXPECT_EQ(LastMessage().rfind("audio device could not be opened: ", 0), 0u) << LastMessage();
  EXPECT_GT(LastMessage().size(), strlen("audio device could not be opened: "));

  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  ASSERT_TRUE(MIDASstartup());
  EXPECT_FALSE(MIDASinit());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_AUDIO_SYSTEM);
  EXPECT_EQ(LastMessage().rfind("audio system could not be started: ", 0), 0u) << LastMessage();
}

TEST_F(Midas, BadModuleFilesAreRefusedWithTheirCause) {
  Start();
  std::string wd = Dir + "/show";
  ASSERT_EQ(mkdir(wd.c_str(), 0755), 0);
  ASSERT_EQ(mkdir((wd + "/mod").c_str(), 0755), 0);
  char previous[4096];
  ASSERT_TRUE(getcwd(previous, sizeof previous));
  ASSERT_EQ(chdir(wd.c_str()), 0);

  EXPECT_EQ(MIDASloadModule("mod\\be_good.mod"), 0u);
  EXPECT_EQ(LastMessage(), "module file not found: mod/be_good.mod");
  EXPECT_EQ(MIDASloadModule(""), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(MIDASloadModule(nullptr), 0u);
  EXPECT_EQ(MIDASloadModule(std::string(5000, 'a').c_str()), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_FILE_NOT_FOUND);

  EXPECT_EQ(MIDASloadModule("mod"), 0u);
  EXPECT_EQ(LastMessage(), "module file could not be read: mod: not a regular file");
  // A named pipe nobody writes to is refused at once instead of waited for.
  ASSERT_EQ(mkfifo("mod/pipe.mod", 0644), 0);
  EXPECT_EQ(MIDASloadModule("mod/pipe.mod"), 0u);
  EXPECT_EQ(LastMessage(), "module file could not be read: mod/pipe.mod: not a regular file");

  std::vector<uint8_t> text = {'H', 'e', 'l', 'l', 'o', '\n'};
  EXPECT_TRUE(WriteBytes("mod/be_good.mod", text));
  EXPECT_EQ(MIDASloadModule("mod\\be_good.mod"), 0u);
  EXPECT_EQ(LastMessage(), "not a module file: mod/be_good.mod");

  EXPECT_TRUE(WriteBytes("mod/empty.mod", {}));
  EXPECT_EQ(MIDASloadModule("mod/empty.mod"), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NOT_A_MODULE);

  // A file larger than the library reads is refused before it is read.
  FILE *big = fopen("mod/big.mod", "wb");
  ASSERT_TRUE(big);
  ASSERT_EQ(ftruncate(fileno(big), (off_t)MIDAS_MAX_MODULE_BYTES + 1), 0);
  fclose(big);
  EXPECT_EQ(MIDASloadModule("mod/big.mod"), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_FILE_TOO_LARGE);

  // Cut-off modules at every interesting length: refused or loaded, never a
  // crash (the sanitizer build watches the reads).
  std::vector<uint8_t> module = MakeTestModule();
  for (size_t length : {1u, 20u, 950u, 1080u, 1084u, 1500u, 2108u, 2200u}) {
    std::vector<uint8_t> cut(module.begin(), module.begin() + (long)length);
    EXPECT_TRUE(WriteBytes("mod/cut.mod", cut));
    MIDASmodule handle = MIDASloadModule("mod/cut.mod");
    if (handle) {
      EXPECT_TRUE(MIDASfreeModule(handle));
    } else {
      EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NOT_A_MODULE) << length;
    }
  }
  ASSERT_EQ(chdir(previous), 0);
}

TEST_F(Midas, HandlesAreChecked) {
  Start();
  std::string path = Write("a.mod", MakeTestModule());
  MIDASmodule handles[4];
  for (MIDASmodule &handle : handles) {
    handle = MIDASloadModule(path.c_str());
    ASSERT_NE(handle, 0u) << LastMessage();
  }
  EXPECT_EQ(MIDASloadModule(path.c_str()), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_TOO_MANY_MODULES);
  EXPECT_TRUE(MIDASfreeModule(handles[3]));
  EXPECT_FALSE(MIDASfreeModule(handles[3]));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_BAD_MODULE_HANDLE);
  EXPECT_EQ(MIDASplayModule(0, 1), 0u);
  EXPECT_EQ(MIDASplayModule(99, 1), 0u);
  EXPECT_EQ(LastMessage(), "bad module handle 99");

  MIDASmodulePlayHandle playing = MIDASplayModule(handles[0], 1);
  ASSERT_NE(playing, 0u);
  EXPECT_EQ(MIDASplayModule(handles[1], 1), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_ALREADY_PLAYING);
  EXPECT_FALSE(MIDASfreeModule(handles[0]));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_MODULE_PLAYING);
  EXPECT_FALSE(MIDASstopModule(playing + 1));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_BAD_PLAY_HANDLE);
  EXPECT_TRUE(MIDASstopModule(playing));
  EXPECT_FALSE(MIDASstopModule(playing));
  EXPECT_TRUE(MIDASfreeModule(handles[0]));
  // A new play gets a new handle; the old one stays dead.
  MIDASmodulePlayHandle again = MIDASplayModule(handles[1], 0);
  EXPECT_NE(again, 0u);
  EXPECT_NE(again, playing);
  EXPECT_FALSE(MIDASstopModule(playing));
  // Closing with a module playing and modules loaded frees everything.
  EXPECT_TRUE(MIDASclose());
}

// What the device receives is the module exactly as libopenmpt mixes it,
// up to the short fade at the stop, which ends in silence without a click.
TEST_F(Midas, DevicePlaysTheModuleAndFadesOutAtStop) {
  int threadsBefore = ThreadCount();
  std::vector<uint8_t> module = MakeTestModule();
  std::string path = Write("song.mod", module);
  Start();
  MIDASmodule handle = MIDASloadModule(path.c_str());
  ASSERT_NE(handle, 0u) << LastMessage();
  MIDASmodulePlayHandle playing = MIDASplayModule(handle, 1);
  ASSERT_NE(playing, 0u);
  EXPECT_TRUE(WaitForFrames(Capture, 44100 * 3 / 2, 2));
  ASSERT_TRUE(MIDASstopModule(playing));
  ASSERT_TRUE(MIDASfreeModule(handle));
  ASSERT_TRUE(MIDASstopBackgroundPlay());
  ASSERT_TRUE(MIDASclose());
  EXPECT_EQ(ThreadCount(), threadsBefore) << "the audio thread outlived MIDASclose";

  std::vector<int16_t> captured = TrimSilence(ReadSamples(Capture));
  size_t frames = captured.size() / 2;
  ASSERT_GT(frames, 44100u) << "less than a second of sound";
  std::vector<int16_t> direct = RenderModule(module, 44100, frames);
  ASSERT_EQ(direct.size(), captured.size());

  const size_t fade = 441;
  size_t differing = 0;
  for (size_t i = 0; i < (frames - fade - 1) * 2; i++) differing += captured[i] != direct[i];
  EXPECT_EQ(differing, 0u);
  EXPECT_NEAR(RmsDb(captured), RmsDb(direct), 0.1);

  // The fade: each of the last frames is no louder than the ramp allows.
  for (size_t f = frames - fade; f < frames; f++) {
    double ramp = (double)(frames - f) / fade;
    for (int c = 0; c < 2; c++)
      ASSERT_LE(std::abs(captured[f * 2 + c]), std::abs(direct[f * 2 + c]) * ramp + 1.0) << f;
  }
  int last = std::max(std::abs(captured[(frames - 1) * 2]), std::abs(captured[(frames - 1) * 2 + 1]));
  EXPECT_LT(last, 400) << "the sound ends with a jump";
}

TEST_F(Midas, SongRepeatsOnlyWhenAskedTo) {
  TestModuleShape shape;
  shape.Rows = 16;
  shape.Speed = 1;  // 16 ticks of 20 ms: 0.32 s a pass
  std::vector<uint8_t> module = MakeTestModule(shape);
  std::string path = Write("short.mod", module);
  Start();
  MIDASmodule handle = MIDASloadModule(path.c_str());
  ASSERT_NE(handle, 0u) << LastMessage();

  size_t pass = 14112;  // 0.32 s at 44.1 kHz
  MIDASmodulePlayHandle playing = MIDASplayModule(handle, 1);
  EXPECT_TRUE(WaitForFrames(Capture, pass * 4, 2));
  ASSERT_TRUE(MIDASstopModule(playing));
  ASSERT_TRUE(MIDASclose());
  std::vector<int16_t> looped = TrimSilence(ReadSamples(Capture));
  EXPECT_GT(looped.size() / 2, pass * 3) << "the song did not repeat";
  // The second pass sounds like the first.
  ASSERT_GT(looped.size(), pass * 4);
  std::vector<int16_t> first(looped.begin(), looped.begin() + (long)pass * 2);
  std::vector<int16_t> second(looped.begin() + (long)pass * 2, looped.begin() + (long)pass * 4);
  EXPECT_NEAR(RmsDb(first), RmsDb(second), 0.5);

  std::string once = Dir + "/once.raw";
  setenv("SDL_DISKAUDIOFILE", once.c_str(), 1);
  Start();
  handle = MIDASloadModule(path.c_str());
  playing = MIDASplayModule(handle, 0);
  EXPECT_TRUE(WaitForFrames(once, pass * 4, 2));
  ASSERT_TRUE(MIDASstopModule(playing));
  ASSERT_TRUE(MIDASclose());
  std::vector<int16_t> single = TrimSilence(ReadSamples(once));
  // libopenmpt lets the last notes ring for a moment after the song's end.
  EXPECT_LE(single.size() / 2, pass * 3 / 2);
  EXPECT_GT(single.size() / 2, pass * 9 / 10);
}

TEST_F(Midas, MonoOutputCarriesTheSong) {
  std::string path = Write("song.mod", MakeTestModule());
  ASSERT_TRUE(MIDASstartup());
  ASSERT_TRUE(MIDASsetOption(MIDAS_OPTION_STEREO, 0));
  ASSERT_TRUE(MIDASinit()) << LastMessage();
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  MIDASmodule handle = MIDASloadModule(path.c_str());
  MIDASmodulePlayHandle playing = MIDASplayModule(handle, 1);
  EXPECT_TRUE(WaitForFrames(Capture, 22050, 1));
  ASSERT_TRUE(MIDASstopModule(playing));
  ASSERT_TRUE(MIDASclose());
  // One sample a frame, and the song is in it.
  std::vector<int16_t> captured = ReadSamples(Capture);
  EXPECT_GE(captured.size(), 22050u);
  EXPECT_GT(RmsDb(TrimSilence(captured)), -30.0);
}

}  // namespace
