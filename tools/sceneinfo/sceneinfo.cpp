// frosten-sceneinfo [--json] [--geometry] [--sample FRAME] FILE.3ds
#include "tools/sceneinfo/sceneinfo.h"

#include "scene/datafile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

static const char *FileName;

static void Usage() {
  fprintf(stderr, "usage: frosten-sceneinfo [--json] [--geometry] [--sample FRAME] FILE.3ds\n");
  exit(2);
}

static void CannotRead(int code, const char *name) {
  fprintf(stderr, "frosten-sceneinfo: cannot read %s: %s (I/O error %d)\n", name, IoErrorText(code), code);
  exit(1);
}

static bool ParseFrame(const char *text, int32_t &frame) {
  char *end;
  errno = 0;
  long v = strtol(text, &end, 10);
  if (errno || *end || end == text || v < INT32_MIN || v > INT32_MAX) return false;
  frame = (int32_t)v;
  return true;
}

int main(int argc, char **argv) {
  SceneInfoOptions options{};
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--json")) options.Json = true;
    else if (!strcmp(argv[i], "--geometry")) options.Geometry = true;
    else if (!strcmp(argv[i], "--sample")) {
      if (++i >= argc || !ParseFrame(argv[i], options.SampleFrame)) Usage();
      options.Sample = true;
    } else if (argv[i][0] == '-' && argv[i][1]) Usage();
    else if (FileName) Usage();
    else FileName = argv[i];
  }
  if (!FileName) Usage();
  DataError = CannotRead;
  Scene scene;
  LoadScene(FileName, scene);
  if (options.Json) WriteSceneJson(stdout, scene, options);
  else WriteSceneSummary(stdout, scene, options);
  FreeScene(scene);
  return fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1;
}
