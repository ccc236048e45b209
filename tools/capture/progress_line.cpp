#include "tools/capture/progress_line.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void StartProgress(ProgressLine &progress, long total) {
  progress = ProgressLine{total, isatty(2) == 1, false, SteadySeconds(), SteadySeconds()};
}

void ShowProgress(ProgressLine &progress, long done) {
  double now = SteadySeconds();
  double every = progress.Terminal ? 0.25 : (double)PROGRESS_LOG_SECONDS;
  if (now - progress.LastShown < every && done < progress.Total) return;
  if (!progress.Terminal && done == progress.Total) return;  // the summary follows
  progress.LastShown = now;
  double seconds = now - progress.Start;
  double fps = seconds > 0 ? (double)done / seconds : 0.0;
  long left = fps > 0 ? (long)((double)(progress.Total - done) / fps + 0.5) : 0;
  fprintf(stderr, "%sframe %ld of %ld, %.1f fps, %ld:%02ld left%s", progress.Terminal ? "\r" : "", done,
          progress.Total, fps, left / 60, left % 60, progress.Terminal ? "\033[K" : "\n");
  fflush(stderr);
  progress.Shown = progress.Terminal;
}

void EndProgress(ProgressLine &progress) {
  if (progress.Shown) fputc('\n', stderr);
  progress.Shown = false;
}
