// The video file of a capture, made by the ffmpeg program: the raw RGB
// frames go down a pipe to it while the next ones are drawn, so that it
// encodes on the other core; the sound comes from a file of raw samples.
// H.264 (yuv420p, BT.709) and AAC stereo at 44.1 kHz, in an MP4 file (a
// Matroska file for a name ending in .mkv).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct VideoSettings {
  int Width, Height;
  int Fps;
  const char *Sound;   // raw 16-bit native-endian stereo at MIDAS_OUTPUT_RATE
  const char *Name;    // the name the video is for: picks the container
  const char *Output;  // the file ffmpeg writes
};

struct VideoEncoder {
  pid_t Pid;           // ffmpeg, 0 when not running
  int Input;           // the pipe to its standard input, -1 when closed
  FILE *Log;           // its standard error: an unlinked temporary file
  double WaitSeconds;  // time spent waiting for it to take frames
};

// The program ffmpeg runs as: FROSTEN_FFMPEG if set, else "ffmpeg".
const char *FfmpegProgram();
// True when the program (a path, or a name looked up on PATH as execvp
// does) exists and may be run.
bool ProgramRunnable(const char *program);

// Starts ffmpeg. False with a one-line reason.
bool StartVideoEncoder(VideoEncoder &encoder, const VideoSettings &settings, char *error, int errorSize);
// Hands one frame (Width x Height x 3 bytes, top row first) to ffmpeg. A
// signal that arrives meanwhile makes it return false with "interrupted"
// when stop() says so. False with ffmpeg's reason when it has gone.
bool EncodeFrame(VideoEncoder &encoder, const uint8_t *pixels, size_t bytes, bool (*stop)(), char *error,
                 int errorSize);
// Ends the input and waits for ffmpeg to finish the file; false with its
// last message when it failed.
bool FinishVideo(VideoEncoder &encoder, char *error, int errorSize);
// Ends ffmpeg at once (an interrupt or a failure) and waits for it.
void StopVideoEncoder(VideoEncoder &encoder);
