// frosten-capture --video: the show's frames and music in one video file.
#pragma once

#include "tools/capture/capture_options.h"

// Draws the span, mixes its music and has ffmpeg make the video; ends the
// process with one line and status 1 on a failure, and with status 128 +
// the signal on SIGINT, SIGTERM or SIGHUP, never leaving a partial file.
void CaptureVideo(const CaptureOptions &options);
