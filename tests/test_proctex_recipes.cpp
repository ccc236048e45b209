// The show's three generated textures: their golden bytes, determinism, and
// frosten-proctex writing them as PNG files.
// frosten-test-links: tooling
#include "effects/proctex.h"
#include "effects/proctex_recipes.h"
#include "tools/common/png_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

static uint64_t Fnv1a(const std::vector<uint8_t> &bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (uint8_t b : bytes) {
    hash ^= b;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

struct Generated {
  int32_t Width, Height;
  std::vector<uint8_t> Pixels;
};

static Generated RunAndKeep(void (*recipe)()) {
  recipe();
  Generated g{TexGen.Width, TexGen.Height, TexGen.Layers[TEX_RESULT_LAYER]};
  TexRelease();
  return g;
}

// A, B and C in the show's order, from a fresh random state.
static void RunShowOrder(Generated out[3]) {
  TexGen.RandomState = 0;
  out[0] = RunAndKeep(RunReflectionRecipe);
  out[1] = RunAndKeep(RunTreeRecipe);
  out[2] = RunAndKeep(RunSurfaceRecipe);
}

TEST(ProcTexRecipes, TwirlDivisorIsTheNearestFloat) {
  EXPECT_EQ((double)1428.5714f, 1428.5714111328125);
}

// Checked against the images themselves: A a swirled, colourful reflection
// map, B bark-like streaks, C a snowy noise surface.
TEST(ProcTexRecipes, GoldenBytesInTheShowsOrder) {
  Generated g[3];
  RunShowOrder(g);
  EXPECT_EQ(g[0].Width, 128);
  EXPECT_EQ(g[0].Height, 128);
  EXPECT_EQ(g[1].Width, 256);
  EXPECT_EQ(g[1].Height, 256);
  EXPECT_EQ(g[2].Width, 256);
  EXPECT_EQ(g[2].Height, 256);
  EXPECT_EQ(Fnv1a(g[0].Pixels), 0x253299ec4cd1338dull) << "reflection";
  EXPECT_EQ(Fnv1a(g[1].Pixels), 0xf7f9ba03d6205436ull) << "tree";
  EXPECT_EQ(Fnv1a(g[2].Pixels), 0x1f42937f0d3cccc5ull) << "surface";
}

TEST(ProcTexRecipes, RunsAgainToTheSameBytes) {
  Generated first[3], second[3];
  RunShowOrder(first);
  // Leftovers of an earlier run, a stray random state and a different size
  // before each recipe must not matter: the recipes size and seed themselves.
  TexSetSize(64, 32);
  TexFill(TEX_SCRATCH, 1, 2, 3);
  TexGen.RandomState = 12345;
  second[0] = RunAndKeep(RunReflectionRecipe);
  TexGen.RandomState = 999;
  second[1] = RunAndKeep(RunTreeRecipe);
  second[2] = RunAndKeep(RunSurfaceRecipe);
  for (int i = 0; i < 3; i++) EXPECT_TRUE(first[i].Pixels == second[i].Pixels) << "recipe " << i;
}

TEST(ProcTexRecipes, ResultsLookAsIntended) {
  Generated g[3];
  RunShowOrder(g);
  // Mean of each channel, and how far the channels of a pixel spread.
  struct Stats {
    double Mean[3];
    double Spread;
  } s[3];
  for (int t = 0; t < 3; t++) {
    double sum[3] = {0, 0, 0}, spread = 0;
    size_t n = g[t].Pixels.size() / 3;
    for (size_t i = 0; i < n; i++) {
      const uint8_t *p = &g[t].Pixels[i * 3];
      int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
      for (int c = 0; c < 3; c++) sum[c] += p[c];
      spread += hi - lo;
    }
    for (int c = 0; c < 3; c++) s[t].Mean[c] = sum[c] / n;
    s[t].Spread = spread / n;
  }
  // A: bright and colourful, leaning to blue.
  EXPECT_GT(s[0].Spread, 20.0);
  EXPECT_GT(s[0].Mean[2], s[0].Mean[0]);
  // B: bark, red over green over blue.
  EXPECT_GT(s[1].Mean[0], s[1].Mean[1] + 10.0);
  EXPECT_GT(s[1].Mean[1], s[1].Mean[2] + 10.0);
  // C: snow, bright with only a faint tint (red and green equal).
  EXPECT_GT(s[2].Mean[2], 150.0);
  EXPECT_DOUBLE_EQ(s[2].Mean[0], s[2].Mean[1]);
  EXPECT_LT(s[2].Spread, 30.0);
}

// ---------------------------------------------------------------------------
// frosten-proctex

static std::string ToolPath() { return std::string(FROSTEN_BINARY_DIR) + "/tools/proctex/frosten-proctex"; }

static int RunTool(const std::string &arguments) {
  std::string command = ToolPath() + " " + arguments + " 2>/dev/null";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

static std::string TempPng(const char *name) {
  const char *dir = getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/frosten_proctex_test_" + std::to_string(getpid()) + "_" + name + ".png";
}

TEST(ProcTexTool, WritesEachTextureAsRgbPngRowZeroAtTop) {
  Generated g[3];
  RunShowOrder(g);
  const char *names[3] = {"reflection", "tree", "surface"};
  for (int i = 0; i < 3; i++) {
    std::string path = TempPng(names[i]);
    ASSERT_EQ(RunTool(std::string(names[i]) + " " + path), 0) << names[i];
    PngImage image;
    char error[256];
    ASSERT_TRUE(ReadPng(path.c_str(), image, error, sizeof error)) << error;
    remove(path.c_str());
    EXPECT_EQ(image.Width, g[i].Width);
    EXPECT_EQ(image.Height, g[i].Height);
    EXPECT_EQ(image.Channels, 3);
    EXPECT_TRUE(image.Pixels == g[i].Pixels) << names[i];
  }
}

TEST(ProcTexTool, RefusesBadArguments) {
  std::string path = TempPng("bad");
  EXPECT_EQ(RunTool(""), 2);
  EXPECT_EQ(RunTool("tree"), 2);
  EXPECT_EQ(RunTool("bark " + path), 2);
  EXPECT_EQ(RunTool("Tree " + path), 2);
  EXPECT_EQ(RunTool("tree " + path + " extra"), 2);
  EXPECT_EQ(RunTool("tree /nonexistent-folder/out.png"), 1);
}
