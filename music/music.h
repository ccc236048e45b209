// The show's music: start, stop with the credits, and the error box.
#pragma once

// Starts the sound library, background playback and loads the module.
void StartMusic();
// Starts the loaded module (step 4 of the start-up sequence).
void PlayMusic();
// Exit procedure: stops the music and shows the credits box.
void StopMusicAndShowCredits();
