/* Preloaded into a program under test: the monotonic clock jumps forward,
   as after a process was stopped and continued, by the seconds written in
   the file named by FROSTEN_CLOCK_JUMP_FILE, once that file exists. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long JumpSeconds(void) {
  static long long seconds = -1;
  if (seconds > 0) return seconds;
  const char *name = getenv("FROSTEN_CLOCK_JUMP_FILE");
  FILE *f = name ? fopen(name, "r") : NULL;
  if (!f) return 0;
  if (fscanf(f, "%lld", &seconds) != 1 || seconds < 0) seconds = -1;
  fclose(f);
  return seconds > 0 ? seconds : 0;
}

int clock_gettime(clockid_t clock, struct timespec *t) {
  static int (*real)(clockid_t, struct timespec *);
  if (!real) *(void **)&real = dlsym(RTLD_NEXT, "clock_gettime");
  int r = real(clock, t);
  if (r == 0 && (clock == CLOCK_MONOTONIC || clock == CLOCK_MONOTONIC_RAW || clock == CLOCK_BOOTTIME))
    t->tv_sec += (time_t)JumpSeconds();
  return r;
}
