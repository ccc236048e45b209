// The sound library on libopenmpt and SDL2 audio.
//
// Threads: every MIDAS call runs on the caller's thread; SDL's audio thread
// runs FillAudio, which reads only the MidasPlayer record. The main thread
// changes that record only while it holds the device lock (or while the
// device is closed), so the audio thread never sees a module being
// attached, detached or freed.
#include "platform/midas.h"

#include "core/slash_path.h"

#include <SDL2/SDL.h>
#include <libopenmpt/libopenmpt.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

enum {
  MAX_MODULES = 4,
  MAX_PATH_CHARS = 1024,
  OUTPUT_FRAMES = 1024,   // about 23 ms per buffer: sound starts at once
  FADE_MS = 10,           // fade at stop, so that the stop does not click
  STOP_WAIT_MS = 500      // longest wait for the audio thread to fade out
};

// What the audio thread reads. Rate and Channels are fixed while the
// device is open; Module and FadeLeft change only under the device lock.
struct MidasPlayer {
  int Rate;
  int Channels;
  openmpt_module *Module;  // the playing module, or null for silence
  int FadeFrames;          // length of the fade-out in frames
  int FadeLeft;            // frames left in a fade-out; -1 when not fading
};

struct MidasLibrary {
  bool Started;
  bool Initialised;
  bool BackgroundPlay;
  bool ExitHookInstalled;
  bool Stereo;
  SDL_AudioDeviceID Device;
  openmpt_module *Modules[MAX_MODULES];  // handle = index + 1
  MIDASmodule PlayingModule;
  MIDASmodulePlayHandle PlayHandle;
  MIDASmodulePlayHandle LastPlayHandle;
  MidasPlayer Player;
  int LastError;
  char LastMessage[256];
};

static MidasLibrary Midas;

static const char *const ErrorTexts[MIDAS_ERROR_COUNT] = {
  "no error",
  "sound library not started",
  "sound library not initialised",
  "sound library already initialised",
  "bad option",
  "audio system could not be started",
  "audio device could not be opened",
  "background play is not running",
  "module file not found",
  "module file could not be read",
  "module file too large",
  "not a module file",
  "out of memory",
  "too many modules loaded",
  "bad module handle",
  "bad play handle",
  "a module is already playing",
  "module is still playing",
};

static bool Fail(int code, const char *format, ...) {
  Midas.LastError = code;
  va_list args;
  va_start(args, format);
  vsnprintf(Midas.LastMessage, sizeof Midas.LastMessage, format, args);
  va_end(args);
  return false;
}

static bool FailPlain(int code) { return Fail(code, "%s", ErrorTexts[code]); }

static bool CheckInitialised() {
  if (!Midas.Initialised) return FailPlain(MIDAS_ERROR_NOT_INITIALISED);
  return true;
}

// ---- the audio thread ----

// Scales the frames by the fade-out ramp; once the ramp has run out the
// rest is silence and the module is let go.
static void ApplyFade(MidasPlayer *player, int16_t *samples, size_t frames) {
  for (size_t frame = 0; frame < frames; frame++) {
    int16_t *sample = samples + frame * player->Channels;
    for (int c = 0; c < player->Channels; c++)
      sample[c] = (int16_t)((int32_t)sample[c] * player->FadeLeft / player->FadeFrames);
    if (player->FadeLeft > 0) player->FadeLeft--;
  }
  if (player->FadeLeft == 0) player->Module = nullptr;
}

static void FillAudio(void *, Uint8 *stream, int length) {
  MidasPlayer *player = &Midas.Player;
  int16_t *samples = (int16_t *)stream;
  size_t frames = (size_t)length / (sizeof(int16_t) * player->Channels);
  size_t done = 0;
  if (player->Module) {
    if (player->Channels == 2)
      done = openmpt_module_read_interleaved_stereo(player->Module, player->Rate, frames, samples);
    else
      done = openmpt_module_read_mono(player->Module, player->Rate, frames, samples);
    if (player->FadeLeft >= 0) {
      ApplyFade(player, samples, done);
      if (done < frames) player->Module = nullptr;  // the song ended while fading
    }
  }
  memset(samples + done * player->Channels, 0, (frames - done) * player->Channels * sizeof(int16_t));
}

// ---- set-up ----

// Whatever way the process ends, the audio thread must not outlive the
// memory it reads.
static void CloseDeviceAtExit() {
  if (Midas.Initialised) {
    SDL_CloseAudioDevice(Midas.Device);
    Midas.Initialised = false;
  }
}

bool MIDASstartup() {
  if (Midas.Initialised) return FailPlain(MIDAS_ERROR_ALREADY_INITIALISED);
  Midas.Started = true;
  Midas.Stereo = true;
  return true;
}

bool MIDASsetOption(int option, int value) {
  if (!Midas.Started) return FailPlain(MIDAS_ERROR_NOT_STARTED);
  if (Midas.Initialised)
    return Fail(MIDAS_ERROR_BAD_OPTION, "options must be set before MIDASinit");
  if (option != MIDAS_OPTION_STEREO) return Fail(MIDAS_ERROR_BAD_OPTION, "unknown option %d", option);
  if (value != 0 && value != 1)
    return Fail(MIDAS_ERROR_BAD_OPTION, "bad value %d for the stereo option (0 or 1)", value);
  Midas.Stereo = value == 1;
  return true;
}

bool MIDASinit() {
  if (!Midas.Started) return FailPlain(MIDAS_ERROR_NOT_STARTED);
  if (Midas.Initialised) return FailPlain(MIDAS_ERROR_ALREADY_INITIALISED);
  // The sound library leaves the signals to the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The name a desktop's per-application volume control lists.
  SDL_SetHint(SDL_HINT_APP_NAME, "Frosten");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Frosten");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    return Fail(MIDAS_ERROR_AUDIO_SYSTEM, "audio system could not be started: %s", SDL_GetError());

  SDL_AudioSpec wanted = {};
  wanted.freq = MIDAS_OUTPUT_RATE;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = Midas.Stereo ? 2 : 1;
  wanted.samples = OUTPUT_FRAMES;
  wanted.callback = FillAudio;
  SDL_AudioSpec obtained = {};
  // SDL converts anything but the rate; the mixer follows the device's rate.
  SDL_AudioDeviceID device =
      SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (device == 0) {
    Fail(MIDAS_ERROR_AUDIO_DEVICE, "audio device could not be opened: %s", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Midas.Device = device;
  Midas.Player = {};
  Midas.Player.Rate = obtained.freq;
  Midas.Player.Channels = wanted.channels;
  Midas.Player.FadeFrames = obtained.freq * FADE_MS / 1000;
  Midas.Player.FadeLeft = -1;
  Midas.Initialised = true;
  Midas.BackgroundPlay = false;
  if (!Midas.ExitHookInstalled) {
    atexit(CloseDeviceAtExit);
    Midas.ExitHookInstalled = true;
  }
  return true;
}

bool MIDASstartBackgroundPlay(uint32_t) {
  if (!CheckInitialised()) return false;
  SDL_PauseAudioDevice(Midas.Device, 0);
  Midas.BackgroundPlay = true;
  return true;
}

// ---- modules ----

// Reads the whole file into a fresh buffer; null (error set) on failure.
static char *ReadModuleFile(const char *path, size_t *size) {
  // Non-blocking, so that a named pipe in the module's place cannot stall
  // the open; only a regular file is read.
  int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    if (errno == ENOENT) Fail(MIDAS_ERROR_FILE_NOT_FOUND, "module file not found: %s", path);
    else Fail(MIDAS_ERROR_FILE_READ, "module file could not be read: %s: %s", path, strerror(errno));
    return nullptr;
  }
  struct stat info;
  FILE *file = nullptr;
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || !(file = fdopen(descriptor, "rb"))) {
    Fail(MIDAS_ERROR_FILE_READ, "module file could not be read: %s: not a regular file", path);
    close(descriptor);
    return nullptr;
  }
  if (info.st_size > MIDAS_MAX_MODULE_BYTES) {
    Fail(MIDAS_ERROR_FILE_TOO_LARGE, "module file too large: %s (%lld bytes, at most %d)", path,
         (long long)info.st_size, (int)MIDAS_MAX_MODULE_BYTES);
    fclose(file);
    return nullptr;
  }
  *size = (size_t)info.st_size;
  char *data = (char *)malloc(*size ? *size : 1);
  if (!data) {
    FailPlain(MIDAS_ERROR_OUT_OF_MEMORY);
    fclose(file);
    return nullptr;
  }
  size_t got = fread(data, 1, *size, file);
  bool failed = ferror(file) != 0;
  fclose(file);
  if (got != *size || failed) {
    Fail(MIDAS_ERROR_FILE_READ, "module file could not be read: %s: %s", path,
         failed ? strerror(errno) : "shorter than its size");
    free(data);
    return nullptr;
  }
  return data;
}

openmpt_module *MidasOpenModuleFile(const char *fileName) {
  if (!fileName || !*fileName) {
    Fail(MIDAS_ERROR_FILE_NOT_FOUND, "module file not found: no name given");
    return nullptr;
  }
  char path[MAX_PATH_CHARS];
  SlashPath(fileName, path, sizeof path);
  if (strlen(fileName) >= sizeof path) {
    Fail(MIDAS_ERROR_FILE_NOT_FOUND, "module file not found: name too long: %.60s...", path);
    return nullptr;
  }
  size_t size = 0;
  char *data = ReadModuleFile(path, &size);
  if (!data) return nullptr;
  int error = 0;
  const char *reason = nullptr;
  openmpt_module *module = openmpt_module_create_from_memory2(
      data, size, openmpt_log_func_silent, nullptr, nullptr, nullptr, &error, &reason, nullptr);
  free(data);
  if (reason) openmpt_free_string(reason);
  if (!module) {
    if (error == OPENMPT_ERROR_OUT_OF_MEMORY) FailPlain(MIDAS_ERROR_OUT_OF_MEMORY);
    else Fail(MIDAS_ERROR_NOT_A_MODULE, "not a module file: %s", path);
    return nullptr;
  }
  // Plain 16-bit output: the same module always mixes to the same samples.
  openmpt_module_ctl_set_integer(module, "dither", 0);
  return module;
}

void MidasRewindModule(openmpt_module *module, int loopSong) {
  openmpt_module_set_repeat_count(module, loopSong ? -1 : 0);
  openmpt_module_set_position_seconds(module, 0.0);
}

MIDASmodule MIDASloadModule(const char *fileName) {
  if (!CheckInitialised()) return 0;
  int slot = 0;
  while (slot < MAX_MODULES && Midas.Modules[slot]) slot++;
  if (slot == MAX_MODULES) return FailPlain(MIDAS_ERROR_TOO_MANY_MODULES);
  openmpt_module *module = MidasOpenModuleFile(fileName);
  if (!module) return 0;
  Midas.Modules[slot] = module;
  return (MIDASmodule)(slot + 1);
}

static openmpt_module *ModuleOf(MIDASmodule handle) {
  if (handle < 1 || handle > MAX_MODULES) return nullptr;
  return Midas.Modules[handle - 1];
}

MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, int loopSong) {
  if (!CheckInitialised()) return 0;
  openmpt_module *decoder = ModuleOf(module);
  if (!decoder) return Fail(MIDAS_ERROR_BAD_MODULE_HANDLE, "bad module handle %u", module);
  if (Midas.PlayHandle) return FailPlain(MIDAS_ERROR_ALREADY_PLAYING);
  // The module is not attached yet, so the audio thread does not read it.
  MidasRewindModule(decoder, loopSong);
  SDL_LockAudioDevice(Midas.Device);
  Midas.Player.Module = decoder;
  Midas.Player.FadeLeft = -1;
  SDL_UnlockAudioDevice(Midas.Device);
  if (++Midas.LastPlayHandle == 0) Midas.LastPlayHandle = 1;
  Midas.PlayHandle = Midas.LastPlayHandle;
  Midas.PlayingModule = module;
  return Midas.PlayHandle;
}

// Detaches the playing module: lets the audio thread fade it out when it is
// running, and takes it away at once when it is not or does not finish.
static void DetachModule() {
  bool running = Midas.BackgroundPlay && SDL_GetAudioDeviceStatus(Midas.Device) == SDL_AUDIO_PLAYING;
  SDL_LockAudioDevice(Midas.Device);
  if (running && Midas.Player.Module) Midas.Player.FadeLeft = Midas.Player.FadeFrames;
  else Midas.Player.Module = nullptr;
  SDL_UnlockAudioDevice(Midas.Device);
  Uint32 start = SDL_GetTicks();
  for (;;) {
    SDL_LockAudioDevice(Midas.Device);
    bool faded = Midas.Player.Module == nullptr;
    if (!faded && SDL_GetTicks() - start > STOP_WAIT_MS) {
      Midas.Player.Module = nullptr;
      faded = true;
    }
    SDL_UnlockAudioDevice(Midas.Device);
    if (faded) return;
    SDL_Delay(2);
  }
}

bool MIDASstopModule(MIDASmodulePlayHandle playHandle) {
  if (!CheckInitialised()) return false;
  if (playHandle == 0 || playHandle != Midas.PlayHandle)
    return Fail(MIDAS_ERROR_BAD_PLAY_HANDLE, "no module plays with handle %u", playHandle);
  DetachModule();
  Midas.PlayHandle = 0;
  Midas.PlayingModule = 0;
  return true;
}

bool MIDASfreeModule(MIDASmodule module) {
  if (!CheckInitialised()) return false;
  openmpt_module *decoder = ModuleOf(module);
  if (!decoder) return Fail(MIDAS_ERROR_BAD_MODULE_HANDLE, "bad module handle %u", module);
  if (module == Midas.PlayingModule) return FailPlain(MIDAS_ERROR_MODULE_PLAYING);
  openmpt_module_destroy(decoder);
  Midas.Modules[module - 1] = nullptr;
  return true;
}

bool MIDASstopBackgroundPlay() {
  if (!CheckInitialised()) return false;
  if (!Midas.BackgroundPlay) return FailPlain(MIDAS_ERROR_NO_BACKGROUND_PLAY);
  // Takes the device lock: on return the callback has finished for good.
  SDL_PauseAudioDevice(Midas.Device, 1);
  Midas.BackgroundPlay = false;
  return true;
}

bool MIDASclose() {
  if (!CheckInitialised()) return false;
  // Closing joins the audio thread, so nothing reads the modules after it.
  SDL_CloseAudioDevice(Midas.Device);
  Midas.Device = 0;
  Midas.Player = {};
  for (openmpt_module *&module : Midas.Modules) {
    if (module) openmpt_module_destroy(module);
    module = nullptr;
  }
  Midas.PlayHandle = 0;
  Midas.PlayingModule = 0;
  Midas.BackgroundPlay = false;
  Midas.Initialised = false;
  Midas.Started = false;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return true;
}

int MIDASgetLastError() { return Midas.LastError; }

const char *MIDASgetErrorMessage(int errorCode) {
  if (errorCode < 0 || errorCode >= MIDAS_ERROR_COUNT) return "unknown error";
  if (errorCode != MIDAS_OK && errorCode == Midas.LastError && Midas.LastMessage[0])
    return Midas.LastMessage;
  return ErrorTexts[errorCode];
}
