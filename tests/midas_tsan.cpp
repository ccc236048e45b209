// Start, play and stop of the sound library under ThreadSanitizer: the main
// thread attaches, fades out and detaches modules while SDL's audio thread
// mixes them. Built by tests/music.cmake; exit code 0 when all calls work.
#include "platform/midas.h"
#include "tests/module_writer.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static int Check(bool ok, const char *what) {
  if (ok) return 0;
  fprintf(stderr, "midas_tsan: %s failed: %s\n", what, MIDASgetErrorMessage(MIDASgetLastError()));
  return 1;
}

int main() {
  char folder[] = "/tmp/frosten_tsan_XXXXXX";
  if (!mkdtemp(folder)) return 1;
  std::string path = std::string(folder) + "/song.mod";
  std::string capture = std::string(folder) + "/capture.raw";
  if (!WriteBytes(path, MakeTestModule())) return 1;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "2", 1);  // the audio thread runs flat out

  int failures = 0;
  for (int round = 0; round < 2; round++) {
    failures += Check(MIDASstartup(), "MIDASstartup");
    failures += Check(MIDASinit(), "MIDASinit");
    failures += Check(MIDASstartBackgroundPlay(0), "MIDASstartBackgroundPlay");
    MIDASmodule module = MIDASloadModule(path.c_str());
    failures += Check(module != 0, "MIDASloadModule");
    for (int play = 0; play < 10; play++) {
      MIDASmodulePlayHandle handle = MIDASplayModule(module, play % 2);
      failures += Check(handle != 0, "MIDASplayModule");
      SDL_Delay(30);
      failures += Check(MIDASstopModule(handle), "MIDASstopModule");
    }
    // The last round closes with the module still playing.
    if (round == 0) {
      failures += Check(MIDASfreeModule(module), "MIDASfreeModule");
      failures += Check(MIDASstopBackgroundPlay(), "MIDASstopBackgroundPlay");
    } else {
      MIDASplayModule(module, 1);
      SDL_Delay(50);
    }
    failures += Check(MIDASclose(), "MIDASclose");
  }
  std::string command = std::string("rm -rf '") + folder + "'";
  if (system(command.c_str()) != 0) failures++;
  return failures == 0 ? 0 : 1;
}
