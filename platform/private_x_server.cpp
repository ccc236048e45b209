#include "platform/private_x_server.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

enum { START_TIMEOUT_MS = 15000 };

static pid_t ServerPid;

void StopPrivateXServer() {
  if (ServerPid <= 0) return;
  kill(ServerPid, SIGTERM);
  waitpid(ServerPid, nullptr, 0);
  ServerPid = 0;
}

// Reads the display number that Xvfb writes once it accepts connections.
static bool ReadDisplayNumber(int fd, char *number, int size) {
  int used = 0;
  while (used < size - 1) {
    pollfd p = {fd, POLLIN, 0};
    int ready = poll(&p, 1, START_TIMEOUT_MS);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    ssize_t got = read(fd, number + used, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    if (number[used] == '\n') break;
    if (number[used] < '0' || number[used] > '9') return false;
    used++;
  }
  number[used] = 0;
  return used > 0;
}

bool StartPrivateXServer(int width, int height, char *error, int errorSize) {
  if (ServerPid > 0) return true;
  int fds[2];
  if (pipe(fds) != 0) {
    snprintf(error, errorSize, "cannot start Xvfb: %s", strerror(errno));
    return false;
  }
  char screen[64], fdText[16];
  snprintf(screen, sizeof screen, "%dx%dx24", width > 1024 ? width : 1024, height > 768 ? height : 768);
  snprintf(fdText, sizeof fdText, "%d", fds[1]);
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) {
    snprintf(error, errorSize, "cannot start Xvfb: %s", strerror(errno));
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    // The server goes when its starter goes, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    // Out of the terminal's process group: a Ctrl-C reaches the starter
    // alone, which still needs the server while it cleans up.
    setpgid(0, 0);
    close(fds[0]);
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
    execlp("Xvfb", "Xvfb", "-displayfd", fdText, "-screen", "0", screen, "-nolisten", "tcp", "-noreset",
           (char *)nullptr);
    _exit(127);
  }
  close(fds[1]);
  ServerPid = pid;
  static bool registered;
  if (!registered) {
    atexit(StopPrivateXServer);
    registered = true;
  }
  char number[16];
  bool ok = ReadDisplayNumber(fds[0], number, sizeof number);
  close(fds[0]);
  if (!ok) {
    StopPrivateXServer();
    snprintf(error, errorSize, "no X display, and Xvfb could not be started");
    return false;
  }
  char display[24];
  snprintf(display, sizeof display, ":%s", number);
  setenv("DISPLAY", display, 1);
  return true;
}
