// frosten-modgen OUTPUT: composes the show's music and writes it as a
// ProTracker module, then prints the arrangement.
#include "tools/common/tool_cli.h"
#include "tools/modgen/modgen.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static void PrintArrangement(const ModFile &mod, size_t size) {
  int position = 0;
  printf("title \"%s\", %zu bytes, %d positions, %zu patterns\n", mod.Title.c_str(), size, mod.SongLength,
         mod.Patterns.size());
  for (int i = 0; i < SongSectionCount; i++) {
    int positions = SectionBars(SongSections[i]) / 4;
    printf("  positions %2d-%2d  %s\n", position, position + positions - 1, SongSections[i].Name);
    position += positions;
  }
  printf("order list:");
  for (int i = 0; i < mod.SongLength; i++) printf(" %d", mod.Orders[i]);
  double seconds = mod.SongLength * MOD_ROWS * SongSpeed * 2.5 / SongTempo;
  printf("\nlength %d:%04.1f at speed %d, %d BPM\n", (int)seconds / 60, seconds - 60 * ((int)seconds / 60), SongSpeed,
         SongTempo);
}

int main(int argc, char **argv) {
  ToolStart("frosten-modgen", "usage: frosten-modgen OUTPUT.mod\n", argc, argv);
  if (argc != 2) ToolUsageError(nullptr);
  if (argv[1][0] == '-' && argv[1][1]) ToolUsageError("unknown option %s", argv[1]);
  ModFile mod;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ComposeModule(mod, error) || !WriteModBytes(mod, bytes, error)) ToolFail("%s", error.c_str());
  if (!ToolWriteFile(argv[1], bytes.data(), bytes.size())) ToolFail("%s: cannot write: %s", argv[1], strerror(errno));
  PrintArrangement(mod, bytes.size());
  return 0;
}
