// Builds the show's scene. Everything is placed by formula or by a fixed
// random sequence, so every run gives the same file.
#include "tools/scenegen/xmas_scene.h"

#include "tools/scenegen/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

static const float PI = (float)M_PI;
static const Vector3 UP = {0, 0, 1};

struct SceneRandom {
  uint32_t State;
};

static float Random01(SceneRandom &r) {
  r.State = r.State * 1664525u + 1013904223u;
  return (float)(r.State >> 8) / 16777216.0f;
}

static float RandomRange(SceneRandom &r, float low, float high) { return low + (high - low) * Random01(r); }

static Vector3 Add(const Vector3 &a, const Vector3 &b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
static Vector3 Sub(const Vector3 &a, const Vector3 &b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

float XmasGroundHeight(float x, float y) {
  float r = std::hypot(x, y);
  float ripple = 0.16f * std::sin(0.45f * x + 0.3f) * std::sin(0.38f * y + 1.1f) + 0.08f * std::sin(0.9f * x + 0.7f * y);
  float hills = 4.0f + 2.2f * std::sin(0.13f * x + 0.8f) * std::cos(0.11f * y - 0.4f) +
                1.6f * std::sin(0.06f * (x - y) + 0.5f);
  return ripple + SmoothStep(17.0f, 42.0f, r) * hills;
}

// ---------------------------------------------------------------- nodes

static GenKey Key3(int32_t frame, const Vector3 &v) { return {frame, {v.x, v.y, v.z, 0}}; }

// A rotation key that turns the object by angle (radians, right-handed about
// axis) relative to the previous key, as the show turns it: 3DS keys hold the
// angle with the opposite sign.
static GenKey Turn(int32_t frame, float angle, const Vector3 &axis) {
  return {frame, {-angle, axis.x, axis.y, axis.z}};
}

static int AddNode(GenScene &scene, GenNodeType type, const std::string &name, const std::string &instance,
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
static void HoldStill(GenNode &node, const Vector3 &position, float heading) {
  node.Position.Keys = {Key3(0, position)};
  node.Rotation.Keys = {Turn(0, heading, UP)};
  node.Scale.Keys = {Key3(0, {1, 1, 1})};
}

static void AddMesh(GenScene &scene, MeshMaker &m) { scene.Meshes.push_back(m.Mesh); }

// A mesh that stands still as a root (or under a parent at the origin).
static int AddStillMesh(GenScene &scene, MeshMaker &m, float heading, int parent = -1) {
  AddMesh(scene, m);
  int node = AddNode(scene, NODE_OBJECT, m.Mesh.Name, "", parent);
  HoldStill(scene.Nodes[node], m.Mesh.Origin, heading);
  return node;
}

// Keys every step ticks from 0 to XMAS_SPAN of a swing about axis between
// +amplitude and -amplitude (radians), starting at rest and ending at rest.
static void SwingKeys(GenTrack &track, const Vector3 &axis, float amplitude, int32_t step, bool startPositive) {
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

static void BuildGround(GenScene &scene) {
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

// ---------------------------------------------------------------- the tree

struct Tier {
  float Height;  // where the branches leave the trunk
  float Radius;  // reach of the branches
  float Droop;   // how far the tips hang below Height
};

static const int TIER_COUNT = 9;
static const float TREE_TOP = 10.9f;

static Tier TreeTier(int i) {
  float f = (float)i / (TIER_COUNT - 1);
  Tier t;
  t.Height = 2.0f + 7.9f * std::pow(f, 0.95f);
  t.Radius = 0.9f + 3.9f * std::pow(1.0f - f, 1.1f);
  t.Droop = 0.25f + 0.3f * t.Radius;
  return t;
}

// The point of a branch at s (0 at the trunk, 1 at the tip) in direction a.
static Vector3 BranchPoint(const Tier &t, float a, float s) {
  float rho = 0.1f + s * (t.Radius - 0.1f);
  return {rho * std::cos(a), rho * std::sin(a), t.Height - t.Droop * std::pow(s, 1.6f)};
}

static const float BRANCH_S[] = {0.0f, 0.4f, 0.75f, 1.0f};

// One ring of branches: strips from the trunk outwards, the branch picture
// along them (u from trunk to tip, v across).
static void AddBranchRing(MeshMaker &m, const Tier &t, int count, float startAngle, float overlap) {
  for (int k = 0; k < count; k++) {
    float a = startAngle + 2 * PI * (float)k / (float)count;
    Vector3 side = {-std::sin(a), std::cos(a), 0};
    uint16_t prevL = 0, prevR = 0;
    float along = 0;
    Vector3 previous{};
    for (int i = 0; i < 4; i++) {
      float s = BRANCH_S[i];
      Vector3 c = BranchPoint(t, a, s);
      if (i > 0) along += std::sqrt(lengthSquared(Sub(c, previous)));
      previous = c;
      float w = 0.5f * (0.3f + s * overlap * 2 * PI * t.Radius / (float)count);
      float u = along / 1.3f;
      uint16_t l = AddPoint(m, Sub(c, {side.x * w, side.y * w, 0}), u, 0.0f);
      uint16_t r = AddPoint(m, Add(c, {side.x * w, side.y * w, 0}), u, 1.0f);
      if (i > 0) AddQuad(m, prevL, l, r, prevR);
      prevL = l;
      prevR = r;
    }
  }
}

// Upright branches along the ring's strips: seen from the side they show
// the branch picture with its snow on top.
static void AddBranchCards(MeshMaker &m, const Tier &t, int count, float startAngle) {
  for (int k = 0; k < count; k++) {
    float a = startAngle + 2 * PI * (float)k / (float)count;
    uint16_t prevLow = 0, prevHigh = 0;
    float along = 0;
    Vector3 previous{};
    for (int i = 0; i < 4; i++) {
      float s = BRANCH_S[i];
      Vector3 c = BranchPoint(t, a, s);
      if (i > 0) along += std::sqrt(lengthSquared(Sub(c, previous)));
      previous = c;
      float h = 0.45f * (1.0f - 0.35f * s);
      float u = along / 1.3f;
      uint16_t low = AddPoint(m, {c.x, c.y, c.z - h}, u, 0.0f);
      uint16_t high = AddPoint(m, {c.x, c.y, c.z + h}, u, 1.0f);
      if (i > 0) AddQuad(m, prevLow, low, high, prevHigh);
      prevLow = low;
      prevHigh = high;
    }
  }
}

static int BuildTree(GenScene &scene) {
  MeshMaker trunk = StartMesh("Tree", {0, 0, 0});
  AddLathe(trunk, {{0.6f, -0.4f}, {0.48f, 0.6f}, {0.36f, 3.0f}, {0.24f, 6.0f}, {0.13f, 9.0f}, {0.05f, 10.6f}, {0, TREE_TOP}},
           10, 0, 0, 2, 2.5f);
  int tree = AddStillMesh(scene, trunk, 0);
  for (int i = 0; i < TIER_COUNT; i++) {
    Tier t = TreeTier(i);
    char name[16];
    snprintf(name, sizeof name, "Ast%02d", i + 1);
    MeshMaker m = StartWorldMesh(name, {0, 0, t.Height});
    int count = std::max(6, (int)std::lround(2 * PI * t.Radius / 1.05f));
    float start = 0.37f * (float)i;
    AddBranchRing(m, t, count, start, 1.5f);
    Tier inner = {t.Height - 0.28f, t.Radius * 0.88f, t.Droop * 1.2f};
    AddBranchRing(m, inner, count, start + PI / (float)count, 1.3f);
    AddBranchCards(m, t, (count + 1) / 2, start + PI / (float)count);
    AddMesh(scene, m);
    int node = AddNode(scene, NODE_OBJECT, name, "", tree);
    HoldStill(scene.Nodes[node], m.Mesh.Origin, 0);
  }
  return tree;
}

// The glass spire on the top and the star turning above it.
static void BuildTreeTop(GenScene &scene, int tree) {
  MeshMaker spire = StartWorldMesh("KugelSpitze", {0, 0, TREE_TOP - 0.5f});
  AddLathe(spire,
           {{0, TREE_TOP - 0.5f}, {0.12f, TREE_TOP - 0.42f}, {0.26f, TREE_TOP - 0.2f}, {0.28f, TREE_TOP},
            {0.2f, TREE_TOP + 0.2f}, {0.08f, TREE_TOP + 0.35f}, {0.06f, TREE_TOP + 0.7f}, {0, TREE_TOP + 1.0f}},
           10, 0, 0, 1, 1);
  AddMesh(scene, spire);
  HoldStill(scene.Nodes[AddNode(scene, NODE_OBJECT, "KugelSpitze", "", tree)], spire.Mesh.Origin, 0);

  // A five-pointed star standing upright, its frame at the lower tip and
  // its pivot at the centre, turning once every 900 ticks.
  const float outer = 0.85f, inner = 0.36f, centreZ = TREE_TOP + 1.75f;
  Vector3 origin = {0, 0, centreZ - outer * std::cos(PI / 5)};
  MeshMaker star = StartMesh("TopStar", origin);
  std::vector<ProfilePoint> outline;
  for (int k = 0; k < 10; k++) {
    float a = PI / 2 + PI * (float)k / 5;
    float r = k % 2 ? inner : outer;
    outline.push_back({r * std::cos(a), centreZ - origin.z + r * std::sin(a)});
  }
  AddPrism(star, outline, 0.28f, 1.8f);
  AddMesh(scene, star);
  GenNode &node = scene.Nodes[AddNode(scene, NODE_OBJECT, "TopStar", "", tree)];
  node.HasPivot = true;
  node.Pivot = {0, 0, centreZ - origin.z};
  node.Position.Keys = {Key3(0, {0, 0, centreZ})};
  node.Scale.Keys = {Key3(0, {1, 1, 1})};
  const int32_t quarter = 225;
  node.Rotation.Keys.push_back(Turn(0, 0, UP));
  for (int32_t f = quarter; f <= XMAS_SPAN; f += quarter) node.Rotation.Keys.push_back(Turn(f, PI / 2, UP));
}

// Glass balls hanging from hooks on the branches: a dummy "Ornaments" holds
// one dummy hook per ball, every other hook swings gently.
static void BuildOrnaments(GenScene &scene, int tree, SceneRandom &random) {
  int root = AddNode(scene, NODE_OBJECT, "$$$DUMMY", "Ornaments", tree);
  HoldStill(scene.Nodes[root], {0, 0, 0}, 0);
  static const int perTier[] = {4, 3, 3, 2, 2, 2, 1, 1};
  int number = 0;
  for (int i = 0; i < 8; i++) {
    Tier t = TreeTier(i);
    for (int k = 0; k < perTier[i]; k++) {
      number++;
      float a = 2 * PI * ((float)k + 0.3f * (float)i) / (float)perTier[i] + RandomRange(random, -0.2f, 0.2f);
      float s = 0.78f;
      Vector3 hook = BranchPoint(t, a, s);
      hook.z -= 0.05f;
      float radius = 0.46f - 0.025f * (float)i;
      float hang = 0.18f + radius;
      Vector3 centre = {hook.x, hook.y, hook.z - hang};

      char hookName[16], ballName[16];
      snprintf(hookName, sizeof hookName, "Hook%02d", number);
      snprintf(ballName, sizeof ballName, "Kugel%02d", number);
      int hookNode = AddNode(scene, NODE_OBJECT, "$$$DUMMY", hookName, root);
      GenNode &h = scene.Nodes[hookNode];
      h.Position.Keys = {Key3(0, hook)};
      h.Scale.Keys = {Key3(0, {1, 1, 1})};
      if (number % 3 == 1) {
        Vector3 axis = {-std::sin(a), std::cos(a), 0};
        SwingKeys(h.Rotation, axis, 0.16f, 230 + 23 * (number % 5), number % 2 == 1);
      } else {
        h.Rotation.Keys = {Turn(0, 0, UP)};
      }

      MeshMaker ball = StartWorldMesh(ballName, centre);
      AddSphere(ball, centre, radius, 9, 6);
      AddLathe(ball, {{0, centre.z + radius * 0.9f}, {0.09f, centre.z + radius * 0.92f}, {0.09f, centre.z + radius + 0.08f},
                      {0, centre.z + radius + 0.1f}},
               5, centre.x, centre.y, 1, 1);
      AddMesh(scene, ball);
      HoldStill(scene.Nodes[AddNode(scene, NODE_OBJECT, ballName, "", hookNode)], Sub(centre, hook), 0);
    }
  }
}

// ---------------------------------------------------------------- around the tree

static void BuildSnowman(GenScene &scene) {
  const Vector3 at = {-4.3f, -7.4f, XmasGroundHeight(-4.3f, -7.4f) - 0.15f};
  const float heading = -1.75f;  // looking out to where the camera passes
  MeshMaker body = StartMesh("Snowman", at, heading);
  AddSphere(body, {0, 0, 1.05f}, 1.2f, 13, 8);
  AddSphere(body, {0, 0, 2.55f}, 0.82f, 12, 7);
  AddSphere(body, {0, 0, 3.65f}, 0.56f, 11, 7);
  // scarf round the neck
  std::vector<ProfilePoint> scarf;
  for (int k = 0; k <= 8; k++) {
    float a = -PI / 2 + PI * 2 * (float)k / 8;
    scarf.push_back({0.6f + 0.13f * std::cos(a), 3.18f + 0.13f * std::sin(a)});
  }
  AddLathe(body, scarf, 12, 0, 0, 3, 0.5f);
  // buttons
  for (int b = 0; b < 3; b++) {
    float z = 2.25f + 0.3f * (float)b, r = 0.82f;
    float dz = z - 2.55f, dx = std::sqrt(r * r - dz * dz);
    AddSphere(body, {dx + 0.02f, 0, z}, 0.08f, 5, 3);
  }
  AddStillMesh(scene, body, heading);

  MeshMaker hat = StartMesh("SnowmanHat", at, heading);
  AddLathe(hat, {{0, 4.05f}, {0.62f, 4.05f}, {0.62f, 4.12f}, {0.4f, 4.14f}, {0.38f, 4.75f}, {0, 4.75f}}, 14, 0, 0, 2, 1);
  AddStillMesh(scene, hat, heading);

  // a carrot nose along the frame's x axis: a cone laid on its side
  MeshMaker nose = StartMesh("SnowmanNose", at, heading);
  const int segments = 8;
  uint16_t tip = AddPoint(nose, {0.95f, 0, 3.7f}, 0.5f, 1);
  std::vector<uint16_t> ring;
  for (int s = 0; s <= segments; s++) {
    float a = 2 * PI * (float)(s % segments) / segments;
    ring.push_back(AddPoint(nose, {0.48f, 0.08f * std::cos(a), 3.7f + 0.08f * std::sin(a)}, (float)s / segments, 0));
  }
  uint16_t back = AddPoint(nose, {0.48f, 0, 3.7f}, 0.5f, 0);
  for (int s = 0; s < segments; s++) {
    AddTriangle(nose, ring[s], ring[s + 1], tip);
    AddTriangle(nose, ring[s + 1], ring[s], back);
  }
  AddStillMesh(scene, nose, heading);
}

static void BuildPresents(GenScene &scene, SceneRandom &random) {
  static const float angles[] = {-2.2f, -1.55f, -0.95f, -2.75f, -0.35f};
  for (int i = 0; i < 5; i++) {
    float a = angles[i], r = 4.4f + RandomRange(random, -0.5f, 0.9f);
    float sx = RandomRange(random, 0.7f, 1.2f), sy = RandomRange(random, 0.7f, 1.1f), sz = RandomRange(random, 0.55f, 1.0f);
    float x = r * std::cos(a), y = r * std::sin(a);
    float heading = RandomRange(random, 0, PI);
    char name[16];
    snprintf(name, sizeof name, "Present%d", i + 1);
    Vector3 origin = {x, y, XmasGroundHeight(x, y) - 0.05f};
    MeshMaker m = StartMesh(name, origin, heading);
    AddBox(m, {-sx / 2, -sy / 2, 0}, {sx / 2, sy / 2, sz}, 0.8f);
    // ribbons over the lid and a bow on top
    const float band = 0.09f, lift = 0.025f;
    AddBox(m, {-sx / 2 - lift, -band, -0.01f}, {sx / 2 + lift, band, sz + lift}, 0.8f);
    AddBox(m, {-band, -sy / 2 - lift, -0.01f}, {band, sy / 2 + lift, sz + lift}, 0.8f);
    AddSphere(m, {-0.13f, 0, sz + 0.1f}, 0.12f, 5, 3);
    AddSphere(m, {0.13f, 0, sz + 0.1f}, 0.12f, 5, 3);
    AddStillMesh(scene, m, heading);
  }
}

// ---------------------------------------------------------------- far away

static void BuildHouse(GenScene &scene, const char *name, float angle, float distance, float heading, float width,
                       float depth) {
  float x = distance * std::cos(angle), y = distance * std::sin(angle);
  float ground = std::min({XmasGroundHeight(x - 3, y - 3), XmasGroundHeight(x + 3, y - 3), XmasGroundHeight(x - 3, y + 3),
                           XmasGroundHeight(x + 3, y + 3), XmasGroundHeight(x, y)});
  Vector3 origin = {x, y, ground - 0.4f};
  MeshMaker m = StartMesh(name, origin, heading);
  const float wall = 3.0f, hw = width / 2, hd = depth / 2;
  AddBox(m, {-hw, -hd, 0}, {hw, hd, wall}, 1.5f);
  // gable roof along y with eaves, its snow a thick slab
  std::vector<ProfilePoint> roof = {{-hw - 0.6f, wall - 0.25f}, {hw + 0.6f, wall - 0.25f}, {0, wall + 0.5f * width}};
  AddPrism(m, roof, depth + 1.0f, 1.0f);
  AddBox(m, {hw * 0.35f, -0.35f, wall + 0.6f}, {hw * 0.35f + 0.7f, 0.35f, wall + 0.5f * width + 0.4f}, 1.0f);  // chimney
  AddBox(m, {-0.5f, -hd - 0.08f, 0}, {0.5f, -hd + 0.02f, 2.0f}, 1.0f);                                         // door
  for (int w = 0; w < 2; w++) {
    float cx = (w == 0 ? -1 : 1) * hw * 0.6f;
    AddBox(m, {cx - 0.45f, -hd - 0.06f, 1.2f}, {cx + 0.45f, -hd + 0.02f, 2.1f}, 1.0f);  // windows
  }
  AddStillMesh(scene, m, heading);
}

static void BuildFir(GenScene &scene, const char *name, float x, float y, float size) {
  Vector3 origin = {x, y, XmasGroundHeight(x, y) - 0.2f};
  MeshMaker m = StartMesh(name, origin);
  std::vector<ProfilePoint> profile = {{0.35f, 0},   {2.1f, 1.0f}, {1.35f, 1.35f}, {1.7f, 2.4f},
                                       {1.0f, 2.75f}, {1.2f, 3.8f}, {0, 5.6f}};
  for (ProfilePoint &p : profile) {
    p.Radius *= size;
    p.Height = p.Height * size;
  }
  AddLathe(m, profile, 9, 0, 0, 2, 2);
  AddStillMesh(scene, m, 0);
}

static void BuildSurroundings(GenScene &scene, SceneRandom &random) {
  BuildHouse(scene, "House1", 1.15f, 27.0f, 1.15f + PI / 2 + 0.3f, 5.0f, 4.0f);
  BuildHouse(scene, "House2", 1.75f, 30.0f, 1.75f + PI / 2 - 0.2f, 4.2f, 3.6f);
  BuildHouse(scene, "House3", 3.55f, 28.0f, 3.55f + PI / 2 + 0.1f, 5.6f, 4.2f);
  BuildHouse(scene, "House4", 5.3f, 31.0f, 5.3f + PI / 2, 4.6f, 3.8f);
  int number = 0;
  for (int k = 0; k < 16; k++) {
    float a = 2 * PI * (float)k / 16 + RandomRange(random, -0.15f, 0.15f);
    float d = RandomRange(random, 24.0f, 38.0f);
    // keep clear of the houses
    bool nearHouse = false;
    for (float h : {1.15f, 1.75f, 3.55f, 5.3f}) nearHouse |= std::fabs(std::remainder(a - h, 2 * PI)) < 0.22f;
    if (nearHouse) d += 9.0f;
    char name[16];
    snprintf(name, sizeof name, "Fir%02d", ++number);
    BuildFir(scene, name, d * std::cos(a), d * std::sin(a), RandomRange(random, 1.0f, 1.6f));
  }
}

// ---------------------------------------------------------------- moving things

// The sledge's path round the clearing: a wobbly circle, once in 2600 ticks.
static Vector3 SledgePath(float t) {
  float a = 2 * PI * t / 2600.0f + 0.6f;
  float r = 13.6f + 1.2f * std::sin(2 * a + 0.4f);
  float x = r * std::cos(a), y = r * std::sin(a);
  return {x, y, XmasGroundHeight(x, y)};
}

static void BuildSledge(GenScene &scene) {
  Vector3 start = SledgePath(0), ahead = SledgePath(20.0f);
  float startHeading = std::atan2(ahead.y - start.y, ahead.x - start.x);
  MeshMaker m = StartMesh("Sledge", start, startHeading);
  // along x: runners, cross pieces, the seat and a back rest
  for (float side : {-0.45f, 0.45f}) {
    AddBox(m, {-1.0f, side - 0.05f, 0.0f}, {0.9f, side + 0.05f, 0.1f}, 0.5f);
    AddBox(m, {0.9f, side - 0.05f, 0.05f}, {1.15f, side + 0.05f, 0.35f}, 0.5f);
    AddBox(m, {-0.7f, side - 0.04f, 0.1f}, {-0.6f, side + 0.04f, 0.45f}, 0.5f);
    AddBox(m, {0.5f, side - 0.04f, 0.1f}, {0.6f, side + 0.04f, 0.45f}, 0.5f);
  }
  AddBox(m, {-0.85f, -0.55f, 0.45f}, {0.8f, 0.55f, 0.58f}, 0.6f);
  AddBox(m, {-0.9f, -0.55f, 0.58f}, {-0.75f, 0.55f, 1.05f}, 0.6f);
  AddMesh(scene, m);
  GenNode &node = scene.Nodes[AddNode(scene, NODE_OBJECT, "Sledge", "", -1)];
  node.Scale.Keys = {Key3(0, {1, 1, 1})};
  const int32_t step = 2600 / 12;
  float previousHeading = 0;
  for (int32_t f = 0; f <= XMAS_SPAN; f += step) {
    Vector3 p = SledgePath((float)f), ahead = SledgePath((float)f + 20.0f);
    float heading = std::atan2(ahead.y - p.y, ahead.x - p.x);
    if (f > 0) heading = previousHeading + std::remainder(heading - previousHeading, 2 * PI);
    node.Position.Keys.push_back(Key3(f, p));
    node.Rotation.Keys.push_back(Turn(f, heading - previousHeading, UP));
    previousHeading = heading;
  }
}

// An arch with two bells swinging from its beam; the bells hang from pivots
// at their crowns.
static void BuildBells(GenScene &scene) {
  const float angle = 2.1f, distance = 8.2f, heading = angle + PI / 2;
  Vector3 foot = {distance * std::cos(angle), distance * std::sin(angle), 0};
  foot.z = XmasGroundHeight(foot.x, foot.y) - 0.2f;
  MeshMaker arch = StartMesh("Arch", foot, heading);
  const float span = 1.7f, top = 3.6f;
  AddBox(arch, {-span - 0.15f, -0.15f, 0}, {-span + 0.15f, 0.15f, top}, 1.0f);
  AddBox(arch, {span - 0.15f, -0.15f, 0}, {span + 0.15f, 0.15f, top}, 1.0f);
  AddBox(arch, {-span - 0.5f, -0.2f, top}, {span + 0.5f, 0.2f, top + 0.3f}, 1.0f);
  AddBox(arch, {-span - 0.6f, -0.35f, top + 0.3f}, {span + 0.6f, 0.35f, top + 0.45f}, 1.0f);  // snow on the beam
  int archNode = AddStillMesh(scene, arch, heading);

  for (int b = 0; b < 2; b++) {
    const char *name = b == 0 ? "Bell1" : "Bell2";
    float bx = b == 0 ? -0.65f : 0.65f;
    float rim = top - 1.25f;
    Vector3 origin = ToWorld(foot, heading, {bx, 0, rim});
    MeshMaker bell = StartMesh(name, origin, heading);
    AddLathe(bell,
             {{0, 0.05f}, {0.5f, 0}, {0.46f, 0.12f}, {0.34f, 0.45f}, {0.3f, 0.8f}, {0.2f, 0.98f}, {0.06f, 1.05f},
              {0.06f, 1.2f}, {0, 1.22f}},
             12, 0, 0, 1, 1);
    AddSphere(bell, {0, 0, -0.1f}, 0.1f, 6, 4);  // the clapper
    AddMesh(scene, bell);
    GenNode &node = scene.Nodes[AddNode(scene, NODE_OBJECT, name, "", archNode)];
    node.HasPivot = true;
    node.Pivot = {0, 0, 1.2f};
    // In the arch's frame: the crown of the bell.
    node.Position.Keys = {Key3(0, {bx, 0, rim + 1.2f})};
    node.Scale.Keys = {Key3(0, {1, 1, 1})};
    SwingKeys(node.Rotation, {1, 0, 0}, 0.35f, 150 + 14 * b, b == 0);
  }
}

// ---------------------------------------------------------------- lights

struct LightOrbit {
  const char *Name;
  float Colour[3];
  float Radius, Height, Bob;  // orbit radius, mean height and rise and fall
  int32_t Period, BobPeriod;  // ticks; a negative period circles clockwise
  float Phase;
};

// The lights circle a point south-west of the tree, so that the snow they
// throw, which drifts towards north-east, arcs over the tree.
static const Vector3 ORBIT_CENTRE = {-2.2f, -2.2f, 0};

static const LightOrbit LIGHTS[] = {
    {"Light1", {1.0f, 0.18f, 0.12f}, 9.0f, 3.2f, 1.0f, 1900, 700, 0.0f},
    {"Light2", {1.0f, 0.7f, 0.16f}, 5.0f, 4.6f, 1.2f, -2300, 830, 1.3f},
    {"Light3", {0.16f, 1.0f, 0.3f}, 9.5f, 2.8f, 0.9f, 2700, 610, 2.5f},
    {"Light4", {0.2f, 0.38f, 1.0f}, 6.5f, 3.8f, 1.1f, -2100, 950, 3.8f},
    {"Light5", {0.78f, 0.2f, 1.0f}, 7.8f, 3.5f, 1.2f, 1700, 760, 5.0f},
};

static Vector3 LightPosition(const LightOrbit &o, float t) {
  float a = o.Phase + 2 * PI * t / (float)o.Period;
  float r = o.Radius * (1.0f + 0.12f * std::sin(2 * PI * t / 5300.0f + o.Phase));
  float z = o.Height + o.Bob * std::sin(2 * PI * t / (float)o.BobPeriod + o.Phase * 1.7f);
  float x = ORBIT_CENTRE.x + r * std::cos(a), y = ORBIT_CENTRE.y + r * std::sin(a);
  return {x, y, XmasGroundHeight(x, y) + z};
}

static void BuildLights(GenScene &scene) {
  for (const LightOrbit &o : LIGHTS) {
    GenLight light;
    light.Name = o.Name;
    light.Position = LightPosition(o, 0);
    for (int i = 0; i < 3; i++) light.Colour[i] = o.Colour[i];
    scene.Lights.push_back(light);
    GenNode &node = scene.Nodes[AddNode(scene, NODE_LIGHT, o.Name, "", -1)];
    int32_t step = std::abs(o.Period) / 8;
    for (int32_t f = 0; f <= XMAS_SPAN; f += step) node.Position.Keys.push_back(Key3(f, LightPosition(o, (float)f)));
  }
}

// ---------------------------------------------------------------- camera

// One key every CAMERA_STEP ticks: where the eye is (angle round the tree in
// degrees, distance from the tree's axis, height above the ground) and what
// it looks at.
struct CameraKey {
  float Angle, Distance, Height;
  Vector3 Target;
};

static const int32_t CAMERA_STEP = 110;
static const CameraKey CAMERA_KEYS[XMAS_LOOP / CAMERA_STEP] = {
    {-150, 21.5f, 7.5f, {0, 0, 5.8f}},  // wide view from the south-west
    {-132, 20.0f, 6.2f, {-0.5f, -1, 5.2f}},
    {-114, 17.5f, 4.6f, {-1, -2.5f, 4.2f}},
    {-96, 16.0f, 3.4f, {-0.5f, -3, 3.6f}},  // low past the snowman
    {-78, 15.5f, 3.2f, {0, -2, 3.8f}},
    {-60, 16.0f, 3.8f, {0.5f, -1, 4.2f}},
    {-42, 17.0f, 5.0f, {0, 0, 5.0f}},
    {-24, 18.0f, 6.8f, {0, 0, 5.8f}},
    {-6, 18.0f, 9.0f, {0, 0, 6.2f}},
    {12, 17.5f, 11.5f, {0, 0, 6.4f}},  // rising
    {30, 17.0f, 13.0f, {0, 0, 6.2f}},  // looking down on the star
    {48, 17.5f, 12.5f, {0, 0, 6.0f}},
    {66, 18.5f, 10.5f, {0, 0, 5.8f}},
    {84, 19.0f, 8.0f, {-1, 1, 5.4f}},
    {102, 18.5f, 5.6f, {-2.5f, 3.5f, 4.6f}},
    {120, 17.5f, 4.0f, {-3.5f, 5, 3.8f}},  // past the bells
    {138, 17.5f, 3.6f, {-2.5f, 4, 4.0f}},
    {156, 18.5f, 4.5f, {-1, 2, 4.6f}},
    {174, 20.0f, 6.0f, {0, 0, 5.2f}},
    {192, 21.0f, 7.0f, {0, -0.5f, 5.6f}},
};

static Vector3 CameraEye(const CameraKey &k) {
  float a = k.Angle * PI / 180.0f;
  float x = k.Distance * std::cos(a), y = k.Distance * std::sin(a);
  return {x, y, XmasGroundHeight(x, y) + k.Height};
}

// A gentle roll of a few degrees that repeats with the loop.
static float CameraRoll(int32_t frame) {
  float t = 2 * PI * (float)frame / (float)XMAS_LOOP;
  return 4.0f * std::sin(2 * t) + 2.0f * std::sin(3 * t + 0.7f);
}

static void BuildCamera(GenScene &scene) {
  const int keys = XMAS_LOOP / CAMERA_STEP;
  GenCamera camera;
  camera.Name = "Camera01";
  camera.Position = CameraEye(CAMERA_KEYS[0]);
  camera.Target = CAMERA_KEYS[0].Target;
  camera.Bank = CameraRoll(0);
  camera.Lens = 43.456f;
  scene.Cameras.push_back(camera);

  // The eye ends at the last key: the show closes the loop by repeating key
  // 0 at XMAS_LOOP. The target and the roll run one key beyond both ends of
  // the loop with the values of the other end, so they pass tick 0 without
  // a halt.
  GenNode &eye = scene.Nodes[AddNode(scene, NODE_CAMERA, camera.Name, "", -1)];
  for (int k = 0; k < keys; k++) eye.Position.Keys.push_back(Key3(k * CAMERA_STEP, CameraEye(CAMERA_KEYS[k])));
  for (int k = -1; k <= keys + 1; k++) {
    int32_t frame = k * CAMERA_STEP;
    eye.Roll.Keys.push_back({frame, {CameraRoll(frame), 0, 0, 0}});
  }
  GenNode &target = scene.Nodes[AddNode(scene, NODE_TARGET, camera.Name, "", -1)];
  for (int k = -1; k <= keys + 1; k++)
    target.Position.Keys.push_back(Key3(k * CAMERA_STEP, CAMERA_KEYS[(k + keys) % keys].Target));
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
