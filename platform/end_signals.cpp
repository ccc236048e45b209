#include "platform/end_signals.h"

#include <FL/Fl.H>

#include <csignal>

static const int EndSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
static volatile sig_atomic_t PendingSignal;
static volatile sig_atomic_t SignalsArrived;
static EndSignalHook Hook;
static bool HookRun;

static void SignalArrived(int signal) {
  if (PendingSignal == 0) PendingSignal = signal;
  // A second request while the first is answered changes nothing: every
  // state reaches a safe point within a fraction of a second, and the end
  // under way puts the desktop back. A third ends at once, the default way,
  // for a program that can no longer answer at all.
  SignalsArrived = SignalsArrived + 1;
  if (SignalsArrived >= 3) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

void CatchEndSignals(EndSignalHook hook) {
  Hook = hook;
  for (int signal : EndSignals) {
    // A signal ignored by whoever started the program (nohup, a background
    // job of a script) stays ignored.
    struct sigaction previous = {};
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;
    struct sigaction action = {};
    action.sa_handler = SignalArrived;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for events returns early on the signal.
    sigaction(signal, &action, nullptr);
  }
}

int PendingEndSignal() { return PendingSignal; }

void CheckEndSignal() {
  if (PendingSignal == 0 || !Hook || HookRun) return;
  HookRun = true;
  Hook(PendingSignal);
}

void WaitForEvents(double seconds) {
  // The short timeout covers a signal that arrives just before the wait.
  if (PendingSignal == 0) Fl::wait(seconds);
}
