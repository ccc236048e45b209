// The sound library in the browser: the module's bytes go to the page's
// player (a libopenmpt build in an AudioWorklet), which plays them in the
// background as the library does on the desktop.
#include "platform/midas.h"
#include "platform/web/web_page.h"

#include <cstdio>
#include <vector>

struct WebMidasRecord {
  bool Started, Initialised, Background;
  MIDASmodule Module;
  MIDASmodulePlayHandle Playing;
  int LastError;
};

static WebMidasRecord Midas;

static const char *const ErrorMessages[MIDAS_ERROR_COUNT] = {
    "no error", "sound library not started", "sound library not initialised",
    "sound library already initialised", "bad option", "audio system could not be started",
    "audio device could not be opened", "background play is not running", "module file not found",
    "module file could not be read", "module file too large", "not a module file", "out of memory",
    "too many modules loaded", "bad module handle", "bad play handle", "a module is already playing",
    "module is still playing"};

static bool Fail(int code) {
  Midas.LastError = code;
  return false;
}

extern "C" {

bool MIDASstartup() {
  Midas = WebMidasRecord{};
  Midas.Started = true;
  return true;
}

bool MIDASsetOption(int option, int) {
  if (!Midas.Started) return Fail(MIDAS_ERROR_NOT_STARTED);
  return option == MIDAS_OPTION_STEREO ? true : Fail(MIDAS_ERROR_BAD_OPTION);
}

bool MIDASinit() {
  if (!Midas.Started) return Fail(MIDAS_ERROR_NOT_STARTED);
  if (Midas.Initialised) return Fail(MIDAS_ERROR_ALREADY_INITIALISED);
  Midas.Initialised = true;
  return true;
}

bool MIDASstartBackgroundPlay(uint32_t) {
  if (!Midas.Initialised) return Fail(MIDAS_ERROR_NOT_INITIALISED);
  Midas.Background = true;
  return true;
}

MIDASmodule MIDASloadModule(const char *fileName) {
  if (!Midas.Initialised) return Fail(MIDAS_ERROR_NOT_INITIALISED), 0;
  if (Midas.Module) return Fail(MIDAS_ERROR_TOO_MANY_MODULES), 0;
  char path[512];
  int n = 0;
  for (const char *p = fileName; *p && n < (int)sizeof path - 1; p++) path[n++] = *p == '\\' ? '/' : *p;
  path[n] = 0;
  FILE *file = fopen(path, "rb");
  if (!file) return Fail(MIDAS_ERROR_FILE_NOT_FOUND), 0;
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  size_t got;
  while ((got = fread(block, 1, sizeof block, file)) > 0) {
    if (bytes.size() + got > MIDAS_MAX_MODULE_BYTES) {
      fclose(file);
      return Fail(MIDAS_ERROR_FILE_TOO_LARGE), 0;
    }
    bytes.insert(bytes.end(), block, block + got);
  }
  bool readError = ferror(file) != 0;
  fclose(file);
  if (readError) return Fail(MIDAS_ERROR_FILE_READ), 0;
  if (bytes.size() < 1084) return Fail(MIDAS_ERROR_NOT_A_MODULE), 0;
  if (!WebPageLoadMusic(bytes.data(), (uint32_t)bytes.size())) return Fail(MIDAS_ERROR_AUDIO_DEVICE), 0;
  Midas.Module = 1;
  return Midas.Module;
}

MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, int) {
  if (!Midas.Background) return Fail(MIDAS_ERROR_NO_BACKGROUND_PLAY), 0;
  if (module == 0 || module != Midas.Module) return Fail(MIDAS_ERROR_BAD_MODULE_HANDLE), 0;
  if (Midas.Playing) return Fail(MIDAS_ERROR_ALREADY_PLAYING), 0;
  if (!WebPagePlayMusic()) return Fail(MIDAS_ERROR_AUDIO_DEVICE), 0;
  Midas.Playing = 1;
  return Midas.Playing;
}

bool MIDASstopModule(MIDASmodulePlayHandle playHandle) {
  if (playHandle == 0 || playHandle != Midas.Playing) return Fail(MIDAS_ERROR_BAD_PLAY_HANDLE);
  WebPageStopMusic();
  Midas.Playing = 0;
  return true;
}

bool MIDASfreeModule(MIDASmodule module) {
  if (module == 0 || module != Midas.Module) return Fail(MIDAS_ERROR_BAD_MODULE_HANDLE);
  if (Midas.Playing) return Fail(MIDAS_ERROR_MODULE_PLAYING);
  Midas.Module = 0;
  return true;
}

bool MIDASstopBackgroundPlay() {
  if (!Midas.Background) return Fail(MIDAS_ERROR_NO_BACKGROUND_PLAY);
  Midas.Background = false;
  return true;
}

bool MIDASclose() {
  if (!Midas.Initialised) return Fail(MIDAS_ERROR_NOT_INITIALISED);
  Midas.Initialised = false;
  return true;
}

int MIDASgetLastError() { return Midas.LastError; }

const char *MIDASgetErrorMessage(int errorCode) {
  return errorCode >= 0 && errorCode < MIDAS_ERROR_COUNT ? ErrorMessages[errorCode] : "Unknown error";
}

}  // extern "C"
