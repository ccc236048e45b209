// frosten-sceneinfo [--json] [--geometry] [--sample FRAME] FILE.3ds
#include "tools/sceneinfo/sceneinfo.h"

#include "scene/chunk_ids.h"
#include "scene/datafile.h"
#include "tools/common/tool_cli.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char *const USAGE = "usage: frosten-sceneinfo [--json] [--geometry] [--sample FRAME] FILE.3ds\n";

static void CannotRead(int code, const char *name) {
  ToolFail("%s: cannot read: %s (I/O error %d)", name, IoErrorText(code), code);
}

static int32_t ParseFrame(const char *text) {
  char *end;
  errno = 0;
  long v = strtol(text, &end, 10);
  if (errno || *end || end == text || v < INT32_MIN || v > INT32_MAX)
    ToolUsageError("--sample takes a whole frame number, not %s", text);
  return (int32_t)v;
}

// A 3DS file begins with the main chunk's identifier, 0x4D4D; without it the
// loader would take any file for an empty scene.
static void RequireSceneHeader(const char *fileName) {
  ToolRequireFile(fileName);
  FILE *file = fopen(fileName, "rb");
  if (!file) ToolFail("%s: cannot open: %s", fileName, strerror(errno));
  unsigned char id[2] = {0, 0};
  size_t got = fread(id, 1, 2, file);
  fclose(file);
  if (got != 2 || id[0] != (MAIN3DS & 0xFF) || id[1] != (MAIN3DS >> 8))
    ToolFail("%s: not a 3DS file (no 0x4D4D header)", fileName);
}

int main(int argc, char **argv) {
  ToolStart("frosten-sceneinfo", USAGE, argc, argv);
  SceneInfoOptions options{};
  const char *fileName = nullptr;
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--json")) options.Json = true;
    else if (!strcmp(argv[i], "--geometry")) options.Geometry = true;
    else if (!strcmp(argv[i], "--sample")) {
      options.SampleFrame = ParseFrame(ToolOptionValue(argc, argv, i));
      options.Sample = true;
    } else if (argv[i][0] == '-' && argv[i][1]) ToolUsageError("unknown option %s", argv[i]);
    else if (fileName) ToolUsageError("one FILE.3ds only");
    else fileName = argv[i];
  }
  if (!fileName) ToolUsageError(nullptr);
  RequireSceneHeader(fileName);
  DataError = CannotRead;
  Scene scene;
  LoadScene(fileName, scene);
  if (options.Json) WriteSceneJson(stdout, scene, options);
  else WriteSceneSummary(stdout, scene, options);
  FreeScene(scene);
  return 0;
}
