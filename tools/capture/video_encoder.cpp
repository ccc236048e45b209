#include "tools/capture/video_encoder.h"

#include "platform/midas.h"

#include <bit>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

static_assert(std::endian::native == std::endian::little, "the sound goes to ffmpeg as s16le");

enum { PIPE_BYTES = 1 << 20 };

const char *FfmpegProgram() {
  const char *program = getenv("FROSTEN_FFMPEG");
  return program && *program ? program : "ffmpeg";
}

static bool Runnable(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool ProgramRunnable(const char *program) {
  if (strchr(program, '/')) return Runnable(program);
  const char *path = getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    size_t end = folders.find(':', start);
    std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (Runnable((folder.empty() ? "." : folder) + "/" + program)) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

static bool EndsWith(const char *text, const char *end) {
  size_t n = strlen(text), m = strlen(end);
  return n >= m && !strcasecmp(text + n - m, end);
}

static std::vector<std::string> FfmpegArguments(const VideoSettings &s) {
  std::string size = std::to_string(s.Width) + "x" + std::to_string(s.Height);
  std::string fps = std::to_string(s.Fps);
  std::string rate = std::to_string((int)MIDAS_OUTPUT_RATE);
  bool matroska = EndsWith(s.Name, ".mkv");
  std::vector<std::string> a = {
      FfmpegProgram(), "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
      // The frames, as drawn.
      "-f", "rawvideo", "-pixel_format", "rgb24", "-video_size", size, "-framerate", fps, "-i", "pipe:0",
      // The music for the same span.
      "-f", "s16le", "-ar", rate, "-ac", "2", "-i", s.Sound,
      "-map", "0:v:0", "-map", "1:a:0",
      // yuv420p opens in every player; the colours converted and marked as
      // BT.709 video range, which players assume for HD pictures anyway.
      "-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
      // veryfast: the encoder shares the two cores with the GL's drawing, so
      // its time counts in full; crf 20 is still hard to tell from the frames.
      "-c:v", "libx264", "-preset", "veryfast", "-crf", "20",
      "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv",
      "-c:a", "aac", "-b:a", "192k", "-ar", rate, "-ac", "2"};
  if (matroska) {
    a.insert(a.end(), {"-f", "matroska"});
  } else {
    // The index at the front, so that a player starts before the whole
    // file has arrived.
    a.insert(a.end(), {"-movflags", "+faststart", "-f", "mp4"});
  }
  a.push_back(s.Output);
  return a;
}

static void WriteText(int fd, const char *text) {
  ssize_t ignored = write(fd, text, strlen(text));
  (void)ignored;
}

// The child's side: the pipe as standard input, the log as standard error,
// a process group of its own (a Ctrl-C at the terminal reaches only the
// capture, which then ends ffmpeg itself), and death with the capture.
// Between fork and exec only calls that take no locks: the GL driver's
// threads may have held one at the fork.
[[noreturn]] static void RunFfmpeg(char *const *argv, int input, int log, pid_t parent) {
  setpgid(0, 0);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  signal(SIGPIPE, SIG_DFL);
  dup2(input, 0);
  dup2(log, 2);
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) dup2(null, 1);
  execvp(argv[0], argv);
  int error = errno;
  WriteText(2, "cannot run ");
  WriteText(2, argv[0]);
  WriteText(2, ": ");
  WriteText(2, strerror(error));
  WriteText(2, "\n");
  _exit(127);
}

bool StartVideoEncoder(VideoEncoder &encoder, const VideoSettings &settings, char *error, int errorSize) {
  encoder = VideoEncoder{0, -1, nullptr, 0.0};
  std::vector<std::string> arguments = FfmpegArguments(settings);
  std::vector<char *> argv;
  for (std::string &a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  int fds[2];
  encoder.Log = tmpfile();
  if (!encoder.Log || pipe2(fds, O_CLOEXEC) != 0) {
    snprintf(error, errorSize, "cannot start ffmpeg: %s", strerror(errno));
    if (encoder.Log) fclose(encoder.Log);
    encoder.Log = nullptr;
    return false;
  }
  // A frame or more in the pipe at once: fewer turns between the two.
  fcntl(fds[1], F_SETPIPE_SZ, (int)PIPE_BYTES);
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) {
    snprintf(error, errorSize, "cannot start ffmpeg: %s", strerror(errno));
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) RunFfmpeg(argv.data(), fds[0], fileno(encoder.Log), parent);
  close(fds[0]);
  encoder.Pid = pid;
  encoder.Input = fds[1];
  return true;
}

// The last line ffmpeg wrote to its standard error, or "".
static std::string LastMessage(FILE *log) {
  std::string text, line;
  if (!log) return text;
  fflush(log);
  rewind(log);
  char buffer[1024];
  while (fgets(buffer, sizeof buffer, log)) {
    line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!line.empty()) text = line;
  }
  return text;
}

static void CloseLog(VideoEncoder &encoder) {
  if (encoder.Log) fclose(encoder.Log);
  encoder.Log = nullptr;
}

// Waits for ffmpeg and says how it ended: true when it succeeded.
static bool WaitFfmpeg(VideoEncoder &encoder, char *error, int errorSize) {
  int status = 0;
  while (waitpid(encoder.Pid, &status, 0) < 0 && errno == EINTR) {
  }
  encoder.Pid = 0;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  std::string message = LastMessage(encoder.Log);
  if (!message.empty()) snprintf(error, errorSize, "ffmpeg failed: %s", message.c_str());
  else if (WIFEXITED(status)) snprintf(error, errorSize, "ffmpeg failed with status %d", WEXITSTATUS(status));
  else snprintf(error, errorSize, "ffmpeg ended by signal %d", WTERMSIG(status));
  return false;
}

bool EncodeFrame(VideoEncoder &encoder, const uint8_t *pixels, size_t bytes, bool (*stop)(), char *error,
                 int errorSize) {
  auto start = std::chrono::steady_clock::now();
  size_t done = 0;
  while (done < bytes) {
    ssize_t n = write(encoder.Input, pixels + done, bytes - done);
    if (n > 0) {
      done += (size_t)n;
    } else if (n < 0 && errno == EINTR) {
      if (stop()) {
        snprintf(error, errorSize, "interrupted");
        return false;
      }
    } else {
      // ffmpeg has gone (EPIPE): its own message says why.
      close(encoder.Input);
      encoder.Input = -1;
      if (WaitFfmpeg(encoder, error, errorSize)) snprintf(error, errorSize, "ffmpeg ended before the last frame");
      return false;
    }
  }
  encoder.WaitSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return true;
}

bool FinishVideo(VideoEncoder &encoder, char *error, int errorSize) {
  if (encoder.Input >= 0) close(encoder.Input);
  encoder.Input = -1;
  bool ok = WaitFfmpeg(encoder, error, errorSize);
  CloseLog(encoder);
  return ok;
}

void StopVideoEncoder(VideoEncoder &encoder) {
  if (encoder.Input >= 0) close(encoder.Input);
  encoder.Input = -1;
  if (encoder.Pid > 0) {
    kill(encoder.Pid, SIGKILL);
    while (waitpid(encoder.Pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    encoder.Pid = 0;
  }
  CloseLog(encoder);
}
