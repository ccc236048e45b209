// The music from start-up to exit, the credits box and the error box.
#include "music/music.h"

#include "core/exit_list.h"
#include "platform/message_box.h"

#include <cstdio>

MIDASmodule MusicModule;
MIDASmodulePlayHandle MusicPlayHandle;

const char CreditsText[] = "Code:  Schneewitz.\rPixels: Glitzerbirke.\rMuzik: Kalte Sohlen";

void MusicError() {
  const char *message = MIDASgetErrorMessage(MIDASgetLastError());
  char text[256];  // at most 255 characters; snprintf cuts a longer message
  snprintf(text, sizeof text, "midas sound error : %s", message ? message : "");
  MessageBoxA(nullptr, text, "MIDAS", MB_ICONHAND);
  MIDASclose();
  // A failure is not an orderly end: the exit code says so.
  EndProgram(1);
}

void StartMusic() {
  MIDASstartup();
  MIDASsetOption(MIDAS_OPTION_STEREO, 1);
  if (!MIDASinit()) MusicError();
  if (!MIDASstartBackgroundPlay(0)) MusicError();
  // '\' on purpose: the sound library maps it (SlashPath), and the music tests expect this name in the call trace.
  MusicModule = MIDASloadModule("mod\\be_good.mod");
  if (MusicModule == 0) MusicError();
}

void PlayMusic() {
  MusicPlayHandle = MIDASplayModule(MusicModule, 1);
  if (MusicPlayHandle == 0) MusicError();
}

void StopMusicAndShowCredits() {
  if (!MIDASstopModule(MusicPlayHandle)) MusicError();
  if (!MIDASfreeModule(MusicModule)) MusicError();
  if (!MIDASstopBackgroundPlay()) MusicError();
  if (!MIDASclose()) MusicError();
  MessageBoxA(nullptr, CreditsText, "FROSTEN 2000", MB_OK);
}
