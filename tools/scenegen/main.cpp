// frosten-scenegen OUTPUT.3ds: builds the show's scene and writes it as a
// 3DS file, then prints what it holds.
#include "tools/common/tool_cli.h"
#include "tools/scenegen/xmas_scene.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

static void PrintSummary(const GenScene &scene, size_t size) {
  size_t points = 0, faces = 0, keys = 0;
  for (const GenMesh &m : scene.Meshes) {
    printf("  %-12s %5zu points %5zu triangles\n", m.Name.c_str(), m.Points.size(), m.Faces.size() / 3);
    points += m.Points.size();
    faces += m.Faces.size() / 3;
  }
  for (const GenNode &n : scene.Nodes)
    keys += n.Position.Keys.size() + n.Rotation.Keys.size() + n.Scale.Keys.size() + n.Roll.Keys.size();
  printf("%zu meshes, %zu points, %zu triangles; %zu lights, %zu cameras; %zu nodes with %zu keys; %zu bytes\n",
         scene.Meshes.size(), points, faces, scene.Lights.size(), scene.Cameras.size(), scene.Nodes.size(), keys, size);
}

int main(int argc, char **argv) {
  ToolStart("frosten-scenegen", "usage: frosten-scenegen OUTPUT.3ds\n", argc, argv);
  if (argc != 2) ToolUsageError(nullptr);
  if (argv[1][0] == '-' && argv[1][1]) ToolUsageError("unknown option %s", argv[1]);
  GenScene scene;
  BuildXmasScene(scene);
  std::vector<uint8_t> bytes = WriteSceneFile(scene);
  if (!ToolWriteFile(argv[1], bytes.data(), bytes.size())) ToolFail("%s: cannot write: %s", argv[1], strerror(errno));
  PrintSummary(scene, bytes.size());
  return 0;
}
