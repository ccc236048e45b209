// The scene as readable text: the object hierarchy as an indented tree,
// then the cameras, the lights and the frame range.
#include "tools/sceneinfo/sceneinfo.h"

#include <string>
#include <unordered_map>
#include <vector>

// The parent as the renderer finds it: the first object bearing the name.
static int64_t ParentOf(const std::unordered_map<std::string, uint32_t> &firstByName, const SceneObject &o) {
  if (o.ParentName.Length == 0) return -1;
  auto found = firstByName.find(std::string(o.ParentName.Text, o.ParentName.Length));
  return found == firstByName.end() ? -1 : (int64_t)found->second;
}

static void Tracks(FILE *out, const char *label, uint32_t keys) {
  if (keys) fprintf(out, ", %u %s key%s", keys, label, keys == 1 ? "" : "s");
}

static void ObjectLine(FILE *out, const Scene &scene, uint32_t i, int depth, const SceneInfoOptions &options) {
  const SceneObject &o = scene.Objects[i];
  for (int d = 0; d <= depth; d++) fputs("  ", out);
  fprintf(out, "%s [", o.Name.Text);
  if (o.IsDummy) fputs("dummy", out);
  else fprintf(out, "mesh, %u vertices, %u faces", o.VertexCount, o.FaceCount);
  Tracks(out, "position", o.PositionTrack.KeyCount);
  Tracks(out, "rotation", o.RotationTrack.KeyCount);
  Tracks(out, "scale", o.ScaleTrack.KeyCount);
  fputc(']', out);
  if (options.Sample && o.PositionTrack.KeyCount) {
    Vector3 p{0, 0, 0};
    sampleVectorTrack(o.PositionTrack, options.SampleFrame, p);
    fprintf(out, " at (%g, %g, %g)", p.x, p.y, p.z);
  }
  fputc('\n', out);
}

// Prints an object and everything below it, depth first, children in array
// order. Iterative, as a file may chain thousands of objects.
static void Subtree(FILE *out, const Scene &scene, const std::vector<std::vector<uint32_t>> &children,
                    std::vector<bool> &shown, uint32_t top, int depth, const SceneInfoOptions &options) {
  std::vector<std::pair<uint32_t, int>> stack{{top, depth}};
  while (!stack.empty()) {
    auto [i, d] = stack.back();
    stack.pop_back();
    if (shown[i]) continue;
    shown[i] = true;
    ObjectLine(out, scene, i, d, options);
    const std::vector<uint32_t> &below = children[i];
    for (size_t k = below.size(); k-- > 0;)
      if (!shown[below[k]]) stack.push_back({below[k], d + 1});
  }
}

void WriteSceneSummary(FILE *out, const Scene &scene, const SceneInfoOptions &options) {
  uint32_t meshes = 0, faces = 0, vertices = 0;
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    const SceneObject &o = scene.Objects[i];
    meshes += !o.IsDummy;
    faces += o.FaceCount;
    vertices += o.VertexCount;
  }
  fprintf(out, "%s\n", scene.FileName.Text);
  fprintf(out, "frames %d to %d, ambient (%g, %g, %g)\n", scene.FirstFrame, scene.LastFrame,
          scene.AmbientColour[0], scene.AmbientColour[1], scene.AmbientColour[2]);
  fprintf(out, "%u objects (%u mesh%s, %u dumm%s), %u vertices, %u faces\n", scene.ObjectCount, meshes,
          meshes == 1 ? "" : "es", scene.ObjectCount - meshes, scene.ObjectCount - meshes == 1 ? "y" : "ies",
          vertices, faces);

  std::vector<int64_t> parent(scene.ObjectCount);
  std::vector<std::vector<uint32_t>> children(scene.ObjectCount);
  std::unordered_map<std::string, uint32_t> firstByName;
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    firstByName.emplace(std::string(scene.Objects[i].Name.Text, scene.Objects[i].Name.Length), i);
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    parent[i] = ParentOf(firstByName, scene.Objects[i]);
    if (parent[i] >= 0) children[parent[i]].push_back(i);
  }
  std::vector<bool> shown(scene.ObjectCount, false);
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (parent[i] < 0) Subtree(out, scene, children, shown, i, 0, options);
  // Objects whose parents lead round in a circle never meet a root.
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    if (shown[i]) continue;
    fputs("  (in a circle of parents)\n", out);
    Subtree(out, scene, children, shown, i, 1, options);
  }

  fprintf(out, "%u camera%s\n", scene.CameraCount, scene.CameraCount == 1 ? "" : "s");
  for (uint32_t i = 0; i < scene.CameraCount; i++) {
    const SceneCamera &c = scene.Cameras[i];
    fprintf(out, "  %s%s: position (%g, %g, %g), target (%g, %g, %g), roll %g, lens %g", c.Name.Text,
            i == scene.ActiveCamera ? " (active)" : "", c.Position.x, c.Position.y, c.Position.z, c.Target.x,
            c.Target.y, c.Target.z, c.Roll, c.Lens);
    Tracks(out, "position", c.PositionTrack.KeyCount);
    Tracks(out, "target", c.TargetTrack.KeyCount);
    Tracks(out, "roll", c.RollTrack.KeyCount);
    fputc('\n', out);
  }
  fprintf(out, "%u light%s\n", scene.LightCount, scene.LightCount == 1 ? "" : "s");
  for (uint32_t i = 0; i < scene.LightCount; i++) {
    const SceneLight &l = scene.Lights[i];
    fprintf(out, "  %s: position (%g, %g, %g), colour (%g, %g, %g)", l.Name.Text, l.Position.x, l.Position.y,
            l.Position.z, l.Colour[0], l.Colour[1], l.Colour[2]);
    Tracks(out, "position", l.PositionTrack.KeyCount);
    fputc('\n', out);
  }
}
