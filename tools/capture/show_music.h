// The show's music for a stretch of a capture, mixed off-line exactly as the
// show's sound library plays it: the module starts at tick 0, repeats
// forever, no dither, stereo at MIDAS_OUTPUT_RATE.
#pragma once

#include <cstdint>
#include <cstdio>

// Sound frames (one sample per channel) per tick: 44100 / 60.
enum { MUSIC_FRAMES_PER_TICK = 735 };

// Mixes the module and writes `frames` stereo frames of 16-bit native-endian
// samples to out, starting skipFrames after the song's start (the frames
// before are mixed and dropped, so the sound is the same as when played
// through). keepGoing is asked between blocks; when it says no, the mixing
// stops with the reason "interrupted". False with a one-line reason.
bool WriteShowMusic(const char *moduleFile, uint64_t skipFrames, uint64_t frames, FILE *out,
                    bool (*keepGoing)(), char *error, int errorSize);
