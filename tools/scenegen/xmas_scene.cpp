// Builds the show's scene. Everything is placed by formula or by a fixed
// random sequence, so every run gives the same file.
#include "tools/scenegen/xmas_build.h"

#include <cstdio>
#include <vector>

float Random01(SceneRandom &r) {
  r.State = r.State * 1664525u + 1013904223u;
  return (float)(r.State >> 8) / 16777216.0f;
}

float RandomRange(SceneRandom &r, float low, float high) { return low + (high - low) * Random01(r); }

float XmasGroundHeight(float x, float y) {
  float r = std::hypot(x, y);
  float ripple = 0.16f * std::sin(0.45f * x + 0.3f) * std::sin(0.38f * y + 1.1f) + 0.08f * std::sin(0.9f * x + 0.7f * y);
  float hills = 4.0f + 2.2f * std::sin(0.13f * x + 0.8f) * std::cos(0.11f * y - 0.4f) +
                1.6f * std::sin(0.06f * (x - y) + 0.5f);
  return ripple + SmoothStep(17.0f, 42.0f, r) * hills;
}

// ---------------------------------------------------------------- nodes

GenKey Key3(int32_t frame, const Vector3 &v) { return {frame, {v.x, v.y, v.z, 0}}; }

// A rotation key that turns the object by angle (radians, right-handed about
// axis) relative to the previous key, as the show turns it: 3DS keys hold the
// angle with the opposite sign.
GenKey Turn(int32_t frame, float angle, const Vector3 &axis) {
  return {frame, {-angle, axis.x, axis.y, axis.z}};
}

int AddNode(GenScene &scene, GenNodeType type, const std::string &name, const std::string &instance,
                   int parent) {
  GenNode node{};
  node.Type = type;
  node.Name = name;
  node.Instance = instance;
  node.Parent = parent;
  scene.Nodes.push_back(node);
  return (int)scene.Nodes.size() - 1;
}

// A node that stands still: at position (in its parent's frame), turned by
// heading about the vertical, unscaled.
void HoldStill(GenNode &node, const Vector3 &position, float heading) {
  node.Position.Keys = {Key3(0, position)};
  node.Rotation.Keys = {Turn(0, heading, UP)};
  node.Scale.Keys = {Key3(0, {1, 1, 1})};
}

void AddMesh(GenScene &scene, MeshMaker &m) { scene.Meshes.push_back(m.Mesh); }

// A mesh that stands still as a root (or under a parent at the origin).
int AddStillMesh(GenScene &scene, MeshMaker &m, float heading, int parent) {
  AddMesh(scene, m);
  int node = AddNode(scene, NODE_OBJECT, m.Mesh.Name, "", parent);
  HoldStill(scene.Nodes[node], m.Mesh.Origin, heading);
  return node;
}

// Keys every step ticks from 0 to XMAS_SPAN of a swing about axis between
// +amplitude and -amplitude (radians), starting at rest and ending at rest.
void SwingKeys(GenTrack &track, const Vector3 &axis, float amplitude, int32_t step, bool startPositive) {
  float previous = 0;
  track.Keys.push_back(Turn(0, 0, axis));
  int32_t count = XMAS_SPAN / step;
  for (int32_t k = 1; k <= count; k++) {
    float angle = (k == count) ? 0.0f : ((k % 2 == 1) == startPositive ? amplitude : -amplitude);
    if (k == 1) angle *= 0.5f;  // ease into the first swing
    track.Keys.push_back(Turn(k * step, angle - previous, axis));
    previous = angle;
  }
}

// ---------------------------------------------------------------- ground

// Grid lines from -extent to extent, close together near the tree, where the
// lights shine, and wider apart towards the fog.
static std::vector<float> GroundLines() {
  const int half = 24;
  std::vector<float> lines;
  for (int i = -half; i <= half; i++) {
    float d = 7.5f * (std::exp(0.098f * (float)std::abs(i)) - 1.0f);
    lines.push_back(i < 0 ? -d : d);
  }
  return lines;
}

// The ground is cut into tiles along these grid lines, so that the tile
// under the camera always has corners in front of it within the far plane:
// the renderer culls a mesh whose bounding-box corners all lie beyond one
// limit of the view.
static const int GROUND_TILE_LINES[] = {0, 5, 12, 24, 36, 43, 48};

void BuildGround(GenScene &scene) {
  std::vector<float> lines = GroundLines();
  const int tiles = (int)(sizeof GROUND_TILE_LINES / sizeof GROUND_TILE_LINES[0]) - 1;
  for (int tj = 0; tj < tiles; tj++)
    for (int ti = 0; ti < tiles; ti++) {
      char name[16];
      snprintf(name, sizeof name, "Ground%d%d", tj + 1, ti + 1);
      int i0 = GROUND_TILE_LINES[ti], i1 = GROUND_TILE_LINES[ti + 1];
      int j0 = GROUND_TILE_LINES[tj], j1 = GROUND_TILE_LINES[tj + 1];
      float cx = 0.5f * (lines[i0] + lines[i1]), cy = 0.5f * (lines[j0] + lines[j1]);
      MeshMaker m = StartWorldMesh(name, {cx, cy, XmasGroundHeight(cx, cy)});
      int n = i1 - i0 + 1;
      std::vector<uint16_t> index;
      for (int j = j0; j <= j1; j++)
        for (int i = i0; i <= i1; i++) {
          float x = lines[i], y = lines[j];
          index.push_back(AddPoint(m, {x, y, XmasGroundHeight(x, y)}, x / 9.0f, y / 9.0f));
        }
      for (int j = j0; j < j1; j++)
        for (int i = i0; i < i1; i++) {
          int at = (j - j0) * n + (i - i0);
          uint16_t a = index[at], b = index[at + 1], c = index[at + n + 1], d = index[at + n];
          // Diagonals point away from the middle, so the grid is symmetric.
          bool flip = (lines[i] + lines[i + 1] < 0) != (lines[j] + lines[j + 1] < 0);
          if (flip) {
            AddTriangle(m, a, b, d);
            AddTriangle(m, b, c, d);
          } else {
            AddQuad(m, a, b, c, d);
          }
        }
      AddStillMesh(scene, m, 0);
    }
}

void BuildXmasScene(GenScene &scene) {
  scene = GenScene{};
  scene.Ambient[0] = scene.Ambient[1] = scene.Ambient[2] = 0.2f;
  scene.FirstFrame = 0;
  scene.LastFrame = XMAS_LOOP;
  SceneRandom random = {20261224u};
  BuildGround(scene);
  int tree = BuildTree(scene);
  BuildTreeTop(scene, tree);
  BuildOrnaments(scene, tree, random);
  BuildSnowman(scene);
  BuildPresents(scene, random);
  BuildSurroundings(scene, random);
  BuildSledge(scene);
  BuildBells(scene);
  BuildCamera(scene);
  BuildLights(scene);
}
