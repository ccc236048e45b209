// The scene as readable text: the object hierarchy as an indented tree,
// then the cameras, the lights and the frame range.
#include "tools/sceneinfo/sceneinfo.h"

#include <vector>

// The parent as the renderer finds it: the first object bearing the name.
static int64_t ParentOf(const Scene &scene, const SceneObject &o) {
  if (o.ParentName.Length == 0) return -1;
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (SameShortString(scene.Objects[i].Name, o.ParentName)) return i;
  return -1;
}

static void Tracks(FILE *out, const char *label, uint32_t keys) {
  if (keys) fprintf(out, ", %u %s key%s", keys, label, keys == 1 ? "" : "s");
}

static void ObjectLine(FILE *out, const Scene &scene, uint32_t i, int depth, const SceneInfoOptions &options) {
  const SceneObject &o = scene.Objects[i];
  fprintf(out, "%*s%s [", 2 + 2 * depth, "", o.Name.Text);
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

static void Subtree(FILE *out, const Scene &scene, const std::vector<int64_t> &parent, std::vector<bool> &shown,
                    uint32_t i, int depth, const SceneInfoOptions &options) {
  shown[i] = true;
  ObjectLine(out, scene, i, depth, options);
  for (uint32_t c = 0; c < scene.ObjectCount; c++)
    if (parent[c] == (int64_t)i && !shown[c]) Subtree(out, scene, parent, shown, c, depth + 1, options);
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
  fprintf(out, "%u objects (%u meshes, %u dummies), %u vertices, %u faces\n", scene.ObjectCount, meshes,
          scene.ObjectCount - meshes, vertices, faces);

  std::vector<int64_t> parent(scene.ObjectCount);
  for (uint32_t i = 0; i < scene.ObjectCount; i++) parent[i] = ParentOf(scene, scene.Objects[i]);
  std::vector<bool> shown(scene.ObjectCount, false);
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (parent[i] < 0) Subtree(out, scene, parent, shown, i, 0, options);
  // Objects whose parents lead round in a circle never meet a root.
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    if (shown[i]) continue;
    fputs("  (in a circle of parents)\n", out);
    Subtree(out, scene, parent, shown, i, 1, options);
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
