#include "tools/saver/saver.h"

#include "platform/midas.h"

#include <cstdio>

static MIDASmodule Module;
static MIDASmodulePlayHandle PlayHandle;

bool StartSaverMusic() {
  MIDASstartup();
  MIDASsetOption(MIDAS_OPTION_STEREO, 1);
  bool ok = MIDASinit() && MIDASstartBackgroundPlay(0);
  if (ok) Module = MIDASloadModule("mod\\be_good.mod");
  if (Module) PlayHandle = MIDASplayModule(Module, 1);
  if (PlayHandle) return true;
  const char *message = MIDASgetErrorMessage(MIDASgetLastError());
  fprintf(stderr, "frosten-saver: no music: %s\n", message ? message : "sound error");
  if (Module) MIDASfreeModule(Module);
  Module = 0;
  MIDASclose();
  return false;
}

void StopSaverMusic() {
  if (!PlayHandle) return;
  MIDASstopModule(PlayHandle);
  MIDASfreeModule(Module);
  MIDASstopBackgroundPlay();
  MIDASclose();
  PlayHandle = 0;
  Module = 0;
}
