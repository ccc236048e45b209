// frosten-capture: draws the show as frosten draws it, through the same
// scene set-up and frame driver, at chosen ticks instead of the wall clock:
// as pictures (DIR/tick-NNNNNN.png), or as a video with the show's music.
// No launcher, no sound device, no display mode change; a private X server
// when there is no display.
#include "core/program.h"
#include "effects/setup.h"
#include "offscreen/frame_capture.h"
#include "platform/runtime_error.h"
#include "scene/datafile.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_video.h"
#include "tools/capture/interrupts.h"
#include "tools/capture/picture_frame.h"
#include "tools/capture/progress_line.h"
#include "tools/common/tool_cli.h"

#include <GL/freeglut.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <sys/stat.h>

enum { MAX_SIZE = 8192, MAX_TICK = 100000000 };

static const char Usage[] =
    "usage: frosten-capture [--size WxH] [--stretch] [--from TICK] [--to TICK] [--step N] --png DIR\n"
    "       frosten-capture [--size WxH] [--stretch] [--from TICK] [--to TICK] [--fps N] --video FILE.mp4\n"
    "                       [--png DIR]\n"
    "\n"
    "Draws the show exactly as it runs, tick by tick (60 ticks a second), without\n"
    "a display. Run it in the folder that holds data/ and mod/.\n"
    "\n"
    "  --png DIR       the pictures of ticks FROM, FROM+N, ... before TO as\n"
    "                  DIR/tick-NNNNNN.png (default: size 640x480, one picture)\n"
    "  --video FILE    the show from tick FROM to tick TO with its music, as\n"
    "                  H.264 and AAC in an MP4 file (Matroska for .mkv); with\n"
    "                  --png, every frame of it as a picture too (default: size\n"
    "                  1920x1080, 60 fps, ticks 0 to 2200: one camera loop,\n"
    "                  36.7 s, which repeats seamlessly). Needs the ffmpeg program.\n"
    "  --size WxH      picture size; even for a video. The show's picture is 4:3:\n"
    "                  at other shapes it is centred between black bars\n"
    "  --stretch       stretch the 4:3 picture over the whole size instead\n"
    "  --from TICK     first tick (default 0)\n"
    "  --to TICK       end of the span: the tick after the last one drawn\n"
    "                  (default FROM+1 for pictures, FROM+2200 for a video)\n"
    "  --step N        pictures: every N-th tick (default 1)\n"
    "  --fps N         video: frames a second, 1 to 60 (default 60); 60 draws\n"
    "                  every tick, 30 every second one\n"
    "  -h, --help      this text\n";

static void ParseSize(const char *text, int &width, int &height) {
  const char *x = strchr(text, 'x');
  char first[16];
  size_t n = x ? (size_t)(x - text) : 0;
  if (!x || n == 0 || n >= sizeof first) ToolUsageError("--size takes WIDTHxHEIGHT, such as 640x480");
  memcpy(first, text, n);
  first[n] = 0;
  width = ToolIntValue("--size", first, 1, MAX_SIZE);
  height = ToolIntValue("--size", x + 1, 1, MAX_SIZE);
}

static CaptureOptions ParseArguments(int argc, char **argv) {
  CaptureOptions o = {0, 0, 0, -1, 0, 0, nullptr, nullptr, false};
  for (int i = 1; i < argc; i++) {
    const char *a = argv[i];
    if (!strcmp(a, "--size")) ParseSize(ToolOptionValue(argc, argv, i), o.Width, o.Height);
    else if (!strcmp(a, "--from")) o.From = ToolIntValue(a, ToolOptionValue(argc, argv, i), 0, MAX_TICK);
    else if (!strcmp(a, "--to")) o.To = ToolIntValue(a, ToolOptionValue(argc, argv, i), 0, MAX_TICK);
    else if (!strcmp(a, "--step")) o.Step = ToolIntValue(a, ToolOptionValue(argc, argv, i), 1, MAX_TICK);
    else if (!strcmp(a, "--fps")) o.Fps = ToolIntValue(a, ToolOptionValue(argc, argv, i), 1, 60);
    else if (!strcmp(a, "--png")) o.PngDir = ToolOptionValue(argc, argv, i);
    else if (!strcmp(a, "--video")) o.Video = ToolOptionValue(argc, argv, i);
    else if (!strcmp(a, "--stretch")) o.Stretch = true;
    else ToolUsageError("unknown argument %s", a);
  }
  if (o.PngDir && !*o.PngDir) ToolUsageError("--png needs a folder name");
  if (o.Video) {
    if (o.Step) ToolUsageError("--step is for pictures alone; a video has --fps");
    if (!o.Width) o.Width = 1920, o.Height = 1080;
    // yuv420p keeps one colour sample for every 2x2 pixels.
    if (o.Width % 2 || o.Height % 2) ToolFail("a video's size must be even, not %dx%d", o.Width, o.Height);
    if (!o.Fps) o.Fps = 60;
    if (o.To < 0) o.To = o.From + CAMERA_LOOP_TICKS;
    if (o.To <= o.From) ToolUsageError("--to must come after --from");
  } else {
    if (!o.PngDir) ToolUsageError("--png or --video is needed");
    if (o.Fps) ToolUsageError("--fps is for a video");
    if (!o.Width) o.Width = 640, o.Height = 480;
    if (!o.Step) o.Step = 1;
    if (o.To < 0) o.To = o.From + 1;
    if (o.To <= o.From) ToolUsageError("--to must come after --from");
  }
  return o;
}

// The show reports an unreadable data file with the run-time error report;
// here its first line goes to stderr, with the file's name.
static void CaptureDataError(int code, const char *fileName) {
  void *frames[2];
  int depth = backtrace(frames, 2);
  char report[256];
  FormatRunTimeError(report, sizeof report, code, frames + 1, depth - 1);
  report[strcspn(report, "\r\n")] = 0;
  fprintf(stderr, "%s (%s)\n", report, fileName ? fileName : "");
  fflush(stderr);
  exit(code);
}

static bool Interrupted() { return PendingInterrupt() != 0; }

static void CapturePictures(const CaptureOptions &o) {
  // Each picture is complete under its name or not there: an interruption
  // takes effect between two pictures.
  CatchInterrupts();
  char error[400];
  if (!OpenCaptureWindow(o.Width, o.Height, error, sizeof error)) ToolFail("%s", error);
  SetupScene();
  PictureFrame framing = FramePicture(o.Width, o.Height, o.Stretch);
  UsePictureFrame(framing);
  PngImage picture, image;
  ProgressLine progress;
  StartProgress(progress, (o.To - o.From - 1) / o.Step + 1);
  long done = 0;
  for (int tick = o.From; tick < o.To; tick += o.Step) {
    if (PendingInterrupt() || !DrawTickAfterSteps(tick, Interrupted)) {
      EndProgress(progress);
      ExitInterrupted();
    }
    ReadFramedPicture(framing, picture, image);
    int32_t errorTick;
    if (uint32_t e = TakeFrameGLError(errorTick)) {
      EndProgress(progress);
      ToolFail("GL error in the frame of tick %d: %s", (int)errorTick, GLErrorText(e));
    }
    char path[4200];
    TickPicturePath(o.PngDir, tick, path, sizeof path);
    if (!WritePng(path, image, error, sizeof error)) {
      EndProgress(progress);
      ToolFail("%s", error);
    }
    ShowProgress(progress, ++done);
  }
  EndProgress(progress);
}

int main(int argc, char **argv) {
  ToolStart("frosten-capture", Usage, argc, argv);
  CaptureOptions o = ParseArguments(argc, argv);
  if (o.PngDir && mkdir(o.PngDir, 0777) != 0 && errno != EEXIST)
    ToolFail("cannot make %s: %s", o.PngDir, strerror(errno));
  ProgramArgc = argc;
  ProgramArgv = argv;
  DataError = CaptureDataError;
  if (o.Video) CaptureVideo(o);
  else CapturePictures(o);
  return 0;
}
