// The show's music: start, stop with the credits, and the error box.
#pragma once

#include "platform/midas.h"

extern MIDASmodule MusicModule;
extern MIDASmodulePlayHandle MusicPlayHandle;
// Three lines separated by carriage returns; the box title is "FROSTEN 2000".
extern const char CreditsText[];

// Starts the sound library, background playback and loads the module.
void StartMusic();
// Starts the loaded module (step 4 of the start-up sequence).
void PlayMusic();
// Exit procedure: stops the music and shows the credits box.
void StopMusicAndShowCredits();
// Shows the library's last error in the "MIDAS" box, closes the library and
// ends the program with exit code 1.
[[noreturn]] void MusicError();
