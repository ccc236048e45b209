// How far a capture has come, on stderr: frames done of all, frames a
// second and the time left. On a terminal one line is rewritten in place;
// elsewhere (a log file, a pipe) a line is printed every PROGRESS_LOG_SECONDS.
#pragma once

enum { PROGRESS_LOG_SECONDS = 10 };

struct ProgressLine {
  long Total;
  bool Terminal;     // stderr is a terminal
  bool Shown;        // a line is on the terminal, not yet ended
  double Start;      // seconds on the steady clock
  double LastShown;
};

void StartProgress(ProgressLine &progress, long total);
// done frames of the total are finished.
void ShowProgress(ProgressLine &progress, long done);
// Ends the line on the terminal, so that what follows starts a line of its own.
void EndProgress(ProgressLine &progress);
// Seconds on the steady clock.
double SteadySeconds();
