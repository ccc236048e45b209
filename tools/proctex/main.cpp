// frosten-proctex NAME OUT.png: writes one of the show's generated textures
// (reflection, tree or surface) as an 8-bit RGB PNG, row 0 at the top. The
// recipes run in the show's order up to the one named, so the generator's
// random state is the show's.
#include "effects/proctex.h"
#include "effects/proctex_recipes.h"
#include "tools/common/png_file.h"
#include "tools/common/tool_cli.h"

#include <cstdio>
#include <cstring>

typedef void (*Recipe)();

struct NamedRecipe {
  const char *Name;
  Recipe Run;
};

static const NamedRecipe RECIPES[] = {
    {"reflection", RunReflectionRecipe},
    {"tree", RunTreeRecipe},
    {"surface", RunSurfaceRecipe},
};
enum { RECIPE_COUNT = sizeof(RECIPES) / sizeof(RECIPES[0]) };

static int FindRecipe(const char *name) {
  for (int i = 0; i < RECIPE_COUNT; i++) {
    if (strcmp(RECIPES[i].Name, name) == 0) return i;
  }
  return -1;
}

int main(int argc, char **argv) {
  ToolStart("frosten-proctex", "usage: frosten-proctex reflection|tree|surface OUT.png\n", argc, argv);
  if (argc != 3) ToolUsageError(nullptr);
  int wanted = FindRecipe(argv[1]);
  if (wanted < 0) ToolUsageError("unknown texture %s", argv[1]);
  for (int i = 0; i < wanted; i++) {
    RECIPES[i].Run();
    TexRelease();
  }
  RECIPES[wanted].Run();
  const std::vector<uint8_t> &layer = TexGen.Layers[TEX_RESULT_LAYER];
  PngImage image{TexGen.Width, TexGen.Height, 3, layer};
  TexRelease();
  char error[256];
  if (!WritePng(argv[2], image, error, sizeof error)) ToolFail("%s", error);  // the reason names the file
  return 0;
}
