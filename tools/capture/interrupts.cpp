#include "tools/capture/interrupts.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

static volatile sig_atomic_t Interruption;

static void Interrupt(int signal) { Interruption = signal; }

void CatchInterrupts() {
  struct sigaction action = {};
  action.sa_handler = Interrupt;
  sigemptyset(&action.sa_mask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old;
    if (sigaction(s, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) sigaction(s, &action, nullptr);
  }
  signal(SIGPIPE, SIG_IGN);
}

int PendingInterrupt() { return Interruption; }

void ExitInterrupted() {
  fprintf(stderr, "frosten-capture: interrupted\n");
  exit(128 + Interruption);
}
