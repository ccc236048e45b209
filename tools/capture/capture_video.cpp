#include "tools/capture/capture_video.h"

#include "effects/setup.h"
#include "offscreen/frame_capture.h"
#include "tools/capture/interrupts.h"
#include "tools/capture/picture_frame.h"
#include "tools/capture/progress_line.h"
#include "tools/capture/show_music.h"
#include "tools/capture/video_encoder.h"
#include "tools/common/tool_cli.h"

#include <GL/freeglut.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A video capture under way: ffmpeg, its progress line, and the files that
// go unless it finishes (the video under its temporary name and the sound).
struct VideoRun {
  VideoEncoder Encoder;
  std::string Partial;
  std::string Sound;
  bool Finished;
  ProgressLine Progress;
};

static VideoRun Run = {{0, -1, nullptr, 0.0}, {}, {}, false, {}};
static bool KeepGoing() { return PendingInterrupt() == 0; }
static bool Stop() { return PendingInterrupt() != 0; }

static void RemovePartialFiles() {
  EndProgress(Run.Progress);
  StopVideoEncoder(Run.Encoder);
  if (!Run.Partial.empty() && !Run.Finished) unlink(Run.Partial.c_str());
  if (!Run.Sound.empty()) unlink(Run.Sound.c_str());
  Run.Partial.clear();
  Run.Sound.clear();
}

[[noreturn]] static void EndInterrupted() {
  RemovePartialFiles();
  ExitInterrupted();
}

[[noreturn]] static void EndWith(const char *error) {
  if (PendingInterrupt()) EndInterrupted();
  EndProgress(Run.Progress);
  ToolFail("%s", error);
}

// The folder a file name is in ("." for a bare name).
static std::string FolderOf(const char *file) {
  const char *slash = strrchr(file, '/');
  if (!slash) return ".";
  if (slash == file) return "/";
  return std::string(file, (size_t)(slash - file));
}

// Fails unless the video can be written: a name that is not a folder, in a
// folder that exists and takes new files.
static void CheckOutput(const char *video) {
  struct stat info;
  if (!*video) ToolUsageError("--video needs a file name");
  if (stat(video, &info) == 0 && S_ISDIR(info.st_mode)) ToolFail("%s: is a folder", video);
  std::string folder = FolderOf(video);
  if (stat(folder.c_str(), &info) != 0) ToolFail("%s: %s", folder.c_str(), strerror(errno));
  if (!S_ISDIR(info.st_mode)) ToolFail("%s: not a folder", folder.c_str());
  if (access(folder.c_str(), W_OK | X_OK) != 0) ToolFail("%s: cannot write there: %s", folder.c_str(), strerror(errno));
}

// A new empty file next to the video, FOLDER/.NAME.KIND-XXXXXX; its name in path.
static FILE *TemporaryFile(const char *video, const char *kind, std::string &path) {
  const char *slash = strrchr(video, '/');
  std::string base = slash ? slash + 1 : video;
  std::string name = FolderOf(video) + "/." + base + "." + kind + "-XXXXXX";
  int fd = mkstemp(name.data());
  if (fd < 0) ToolFail("cannot make a file in %s: %s", FolderOf(video).c_str(), strerror(errno));
  path = name;
  // The finished video gets the permissions of any new file, not mkstemp's.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  FILE *file = fdopen(fd, "wb");
  if (!file) ToolFail("%s: %s", name.c_str(), strerror(errno));
  return file;
}

// The music of the frames' span, into the sound file.
static void MixMusic(const CaptureOptions &o, long frames) {
  FILE *sound = TemporaryFile(o.Video, "sound", Run.Sound);
  uint64_t skip = (uint64_t)o.From * MUSIC_FRAMES_PER_TICK;
  uint64_t length = ((uint64_t)frames * MUSIC_FRAMES_PER_TICK * 60 + (uint64_t)o.Fps / 2) / (uint64_t)o.Fps;
  char error[400];
  bool ok = WriteShowMusic("mod\\be_good.mod", skip, length, sound, KeepGoing, error, sizeof error);
  if (fclose(sound) != 0 && ok) {
    snprintf(error, sizeof error, "cannot write the sound: %s", strerror(errno));
    ok = false;
  }
  if (!ok) EndWith(error);
}

struct FrameTimes {
  double Drawing, ReadBack;
};

static void DrawFrames(const CaptureOptions &o, long frames, FrameTimes &times) {
  PictureFrame framing = FramePicture(o.Width, o.Height, o.Stretch);
  UsePictureFrame(framing);
  PngImage picture, image;
  StartProgress(Run.Progress, frames);
  char error[400];
  for (long frame = 0; frame < frames; frame++) {
    int tick = FrameTick(o, frame);
    double start = SteadySeconds();
    if (!DrawTickAfterSteps(tick, Stop)) EndInterrupted();
    glFinish();
    double drawn = SteadySeconds();
    ReadFramedPicture(framing, picture, image);
    times.Drawing += drawn - start;
    times.ReadBack += SteadySeconds() - drawn;
    int32_t errorTick;
    if (uint32_t e = TakeFrameGLError(errorTick)) {
      snprintf(error, sizeof error, "GL error in the frame of tick %d: %s", (int)errorTick, GLErrorText(e));
      EndWith(error);
    }
    if (o.PngDir) {
      char path[4200];
      TickPicturePath(o.PngDir, tick, path, sizeof path);
      if (!WritePng(path, image, error, sizeof error)) EndWith(error);
    }
    if (!EncodeFrame(Run.Encoder, image.Pixels.data(), image.Pixels.size(), Stop, error, sizeof error))
      EndWith(error);
    if (PendingInterrupt()) EndInterrupted();
    ShowProgress(Run.Progress, frame + 1);
  }
  EndProgress(Run.Progress);
}

void CaptureVideo(const CaptureOptions &o) {
  CatchInterrupts();
  atexit(RemovePartialFiles);
  CheckOutput(o.Video);
  if (!ProgramRunnable(FfmpegProgram()))
    ToolFail("%s not found: --video needs the ffmpeg program (Debian package ffmpeg)", FfmpegProgram());
  long frames = VideoFrames(o);
  if (frames < 1) ToolUsageError("no frames from tick %d to %d", o.From, o.To);
  double start = SteadySeconds();
  MixMusic(o, frames);

  char error[400];
  if (!OpenCaptureWindow(o.Width, o.Height, error, sizeof error)) EndWith(error);
  SetupScene();
  if (PendingInterrupt()) EndInterrupted();

  FILE *partial = TemporaryFile(o.Video, "partial", Run.Partial);
  fclose(partial);
  VideoSettings settings = {o.Width, o.Height, o.Fps, Run.Sound.c_str(), o.Video, Run.Partial.c_str()};
  if (!StartVideoEncoder(Run.Encoder, settings, error, sizeof error)) EndWith(error);
  FrameTimes times = {0, 0};
  double drawing = SteadySeconds();
  DrawFrames(o, frames, times);
  double finishing = SteadySeconds();
  if (!FinishVideo(Run.Encoder, error, sizeof error)) EndWith(error);
  if (PendingInterrupt()) EndInterrupted();
  if (rename(Run.Partial.c_str(), o.Video) != 0) {
    snprintf(error, sizeof error, "cannot name the video %s: %s", o.Video, strerror(errno));
    EndWith(error);
  }
  Run.Finished = true;
  RemovePartialFiles();
  double end = SteadySeconds();
  fprintf(stderr,
          "frosten-capture: %s: %ld frames in %.1f s: setting up %.1f s; %.1f frames a second (drawing %.1f s, "
          "read-back %.1f s, waiting for ffmpeg %.1f s); finishing %.1f s\n",
          o.Video, frames, end - start, drawing - start, (double)frames / (finishing - drawing), times.Drawing,
          times.ReadBack, Run.Encoder.WaitSeconds, end - finishing);
}
