// The sound library the show plays its module through: a small digital
// audio system with the classic MIDAS call names. libopenmpt decodes and
// mixes the module; SDL2's audio thread plays it in the background.
//
// Every call returns false (or a zero handle) on failure and leaves an error
// code for MIDASgetLastError; MIDASgetErrorMessage turns it into plain
// English that names the cause. The calls have C linkage, like the C
// library they stand in for.
#pragma once

#include <cstdint>

typedef uint32_t MIDASmodule;            // 0 = no module
typedef uint32_t MIDASmodulePlayHandle;  // 0 = not playing

enum MidasOption {
  // 1 = stereo output (the default), 0 = mono. Only before MIDASinit.
  MIDAS_OPTION_STEREO = 11
};

enum MidasErrorCode {
  MIDAS_OK = 0,
  MIDAS_ERROR_NOT_STARTED,          // MIDASstartup has not been called
  MIDAS_ERROR_NOT_INITIALISED,      // MIDASinit has not succeeded
  MIDAS_ERROR_ALREADY_INITIALISED,
  MIDAS_ERROR_BAD_OPTION,
  MIDAS_ERROR_AUDIO_SYSTEM,         // SDL's audio subsystem would not start
  MIDAS_ERROR_AUDIO_DEVICE,         // the output device could not be opened
  MIDAS_ERROR_NO_BACKGROUND_PLAY,
  MIDAS_ERROR_FILE_NOT_FOUND,
  MIDAS_ERROR_FILE_READ,
  MIDAS_ERROR_FILE_TOO_LARGE,
  MIDAS_ERROR_NOT_A_MODULE,
  MIDAS_ERROR_OUT_OF_MEMORY,
  MIDAS_ERROR_TOO_MANY_MODULES,
  MIDAS_ERROR_BAD_MODULE_HANDLE,
  MIDAS_ERROR_BAD_PLAY_HANDLE,
  MIDAS_ERROR_ALREADY_PLAYING,
  MIDAS_ERROR_MODULE_PLAYING,       // a playing module cannot be freed
  MIDAS_ERROR_COUNT
};

extern "C" {

// Puts the library into its start state (options at their defaults).
bool MIDASstartup();
bool MIDASsetOption(int option, int value);
// Starts SDL's audio subsystem and opens the output device (paused).
bool MIDASinit();
// Lets the device play: silence until a module is played. pollRate is
// accepted for compatibility; SDL's own thread pulls the sound.
bool MIDASstartBackgroundPlay(uint32_t pollRate);
// Reads and parses a module file; '\' in the name is a folder separator.
MIDASmodule MIDASloadModule(const char *fileName);
// Plays the module from its start; loopSong 1 repeats it forever, 0 plays
// it once and then silence. One module plays at a time.
MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, int loopSong);
// Fades the module out over a few milliseconds and stops it.
bool MIDASstopModule(MIDASmodulePlayHandle playHandle);
bool MIDASfreeModule(MIDASmodule module);
bool MIDASstopBackgroundPlay();
// Closes the device (its thread has ended on return), frees what is left
// and shuts SDL's audio subsystem down.
bool MIDASclose();
int MIDASgetLastError();
// The text for an error code; for the last error it carries the details
// (file name, SDL's reason).
const char *MIDASgetErrorMessage(int errorCode);

}  // extern "C"

// Largest module file the library reads.
enum { MIDAS_MAX_MODULE_BYTES = 64 * 1024 * 1024 };
// The rate the library asks the device for and mixes at.
enum { MIDAS_OUTPUT_RATE = 44100 };

// The decoder under a module, for mixing the show's music off-line exactly
// as the library plays it (frosten-capture). Needs no MIDASinit.
struct openmpt_module;
// Reads a module file as MIDASloadModule does and makes a decoder with the
// library's mixing settings (plain 16-bit output, no dither). Null on
// failure, with the error for MIDASgetLastError.
openmpt_module *MidasOpenModuleFile(const char *fileName);
// Puts a decoder at the start of its song, repeating forever (loopSong 1)
// or playing once (0), as MIDASplayModule starts it.
void MidasRewindModule(openmpt_module *module, int loopSong);
