#include "tools/common/tool_cli.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

static const char *ToolName = "tool";
static const char *ToolUsage = "";

// Runs at exit: output still in the buffer is written now, and a write that
// failed, now or before, is reported.
static void CloseStandardOutput() {
  errno = 0;
  bool flushed = fflush(stdout) == 0;
  int flushError = errno;
  bool failed = !flushed || ferror(stdout);
  if (fclose(stdout) != 0 && !failed) {
    failed = true;
    flushError = errno;
  }
  if (!failed) return;
  if (flushError) fprintf(stderr, "%s: cannot write standard output: %s\n", ToolName, strerror(flushError));
  else fprintf(stderr, "%s: cannot write standard output\n", ToolName);
  _exit(1);
}

void ToolStart(const char *name, const char *usage, int argc, char **argv) {
  ToolName = name;
  ToolUsage = usage;
  atexit(CloseStandardOutput);
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--help") || !strcmp(argv[i], "-h")) {
      fputs(usage, stdout);
      exit(0);
    }
    if (!strcmp(argv[i], "--version")) {
      printf("%s %s\n", name, FROSTEN_VERSION);
      exit(0);
    }
  }
}

static void Message(const char *format, va_list arguments) {
  fprintf(stderr, "%s: ", ToolName);
  vfprintf(stderr, format, arguments);
  fputc('\n', stderr);
}

void ToolUsageError(const char *format, ...) {
  if (format) {
    va_list arguments;
    va_start(arguments, format);
    Message(format, arguments);
    va_end(arguments);
  }
  const char *end = strstr(ToolUsage, "\n\n");
  fwrite(ToolUsage, 1, end ? (size_t)(end - ToolUsage) + 1 : strlen(ToolUsage), stderr);
  exit(2);
}

void ToolFail(const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Message(format, arguments);
  va_end(arguments);
  exit(1);
}

const char *ToolOptionValue(int argc, char **argv, int &i) {
  if (i + 1 >= argc) ToolUsageError("%s needs a value", argv[i]);
  return argv[++i];
}

int ToolIntValue(const char *option, const char *text, int low, int high) {
  char *end = nullptr;
  errno = 0;
  long value = strtol(text, &end, 10);
  if (!*text || *end || errno || value < low || value > high) ToolUsageError("%s takes %d ... %d", option, low, high);
  return (int)value;
}

void ToolRefuseSameFile(const char *input, const char *output) {
  struct stat in, out;
  bool same = !strcmp(input, output) ||
              (stat(input, &in) == 0 && stat(output, &out) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino);
  if (same) ToolUsageError("%s: the output would overwrite the input", output);
}

void ToolRequireFile(const char *path) {
  struct stat info;
  if (stat(path, &info) != 0) ToolFail("%s: %s", path, errno == ENOENT ? "no such file" : strerror(errno));
  if (S_ISDIR(info.st_mode)) ToolFail("%s: is a directory", path);
  if (!S_ISREG(info.st_mode)) ToolFail("%s: is not a regular file", path);
}

bool ToolWriteFile(const char *path, const void *bytes, size_t size) {
  char temporary[PATH_MAX];
  if (snprintf(temporary, sizeof temporary, "%s.partial", path) >= (int)sizeof temporary) {
    errno = ENAMETOOLONG;
    return false;
  }
  FILE *file = fopen(temporary, "wb");
  if (!file) return false;
  bool written = fwrite(bytes, 1, size, file) == size;
  int error = written ? 0 : errno;
  if (fclose(file) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && rename(temporary, path) == 0) return true;
  if (written) error = errno;
  remove(temporary);
  errno = error ? error : EIO;
  return false;
}
