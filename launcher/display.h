// The GLUT window or full-screen game mode, the fixed GL state, the reshape
// and idle callbacks and the frame clock.
#pragma once

#include <cstdint>

struct DisplaySettingsRecord {
  int32_t ScreenWidth;
  int32_t ScreenHeight;
  int32_t ScreenBits;
  bool Fullscreen;
  bool TexCompress;
};

extern DisplaySettingsRecord DisplaySettings;
extern const float FarPlane;
// The title of the show's window, full-screen too.
extern const char *const ShowWindowTitle;
extern const double ProjectionAspect;

// The largest 4:3 rectangle in whole pixels centred in width x height: where
// the picture goes between bars in the saver's window and in a capture.
struct FourThreeRect {
  int X, Y, Width, Height;
};
FourThreeRect FitFourThree(int width, int height);

// Game-mode string "WIDTHxHEIGHT:BITS@60" into out (at least 48 bytes).
void GameModeString(char *out, int outSize, int32_t width, int32_t height, int32_t bits);

// The command line glutInit reads and takes its own options from; set before
// OpenDisplay. Without one GLUT sees the program name "frosten" alone.
void SetDisplayCommandLine(int *argc, char **argv);
void OpenDisplay(int32_t width, int32_t height, int32_t bits, bool fullscreen, uint32_t extraDisplayMode);
void InitGLState();
// The part of InitGLState that is GL state alone (no cursor, no callbacks),
// for programs that draw the show without a GLUT window.
void SetFixedGLState();
// The reshape callback: the viewport and the fixed-aspect projection.
void Reshape(int32_t width, int32_t height);
// Exit procedure: switches the screen saver back on if it was on at start.
void RestoreScreenSaver();
// The show clock: milliseconds of show time in 64 bits, from the steady
// clock (CLOCK_MONOTONIC: a step of the wall clock does not move it, a
// suspend does not advance it) since the last ResetClock, plus its offset.
// It never reads less than it read before: a reading that goes back counts
// as time standing still, and the show time runs on from there.
void ResetClock(int64_t offset);
// The steady clock's reading in nanoseconds. A test or a time-warp run that
// moves time itself sets its own reading (then ResetClock: readings of two
// sources do not compare); nullptr restores CLOCK_MONOTONIC.
typedef int64_t (*SteadyReadingProc)();
void SetSteadyReading(SteadyReadingProc reading);
// Milliseconds of show time: by default the show clock above. A tool or test
// that renders chosen ticks sets its own source, whose readings are taken as
// they are; nullptr restores the show clock.
typedef int64_t (*ClockSourceProc)();
void SetClockSource(ClockSourceProc source);
int64_t ClockMs();
