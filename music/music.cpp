#include "music/music.h"

// Music playback comes with the sound library layer.
void StartMusic() {}
void PlayMusic() {}
void StopMusicAndShowCredits() {}
