// The fir in the middle: trunk, tiers of branches, the glass spire and the
// turning star on top, and the glass balls hanging from hooks.
#include "tools/scenegen/xmas_build.h"

#include <algorithm>
#include <cstdio>

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
      if (i > 0) along += std::sqrt(lengthSquared(sub(c, previous)));
      previous = c;
      float w = 0.5f * (0.3f + s * overlap * 2 * PI * t.Radius / (float)count);
      float u = along / 1.3f;
      uint16_t l = AddPoint(m, sub(c, {side.x * w, side.y * w, 0}), u, 0.0f);
      uint16_t r = AddPoint(m, add(c, {side.x * w, side.y * w, 0}), u, 1.0f);
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
      if (i > 0) along += std::sqrt(lengthSquared(sub(c, previous)));
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

int BuildTree(GenScene &scene) {
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
    AddStillMesh(scene, m, 0, tree);
  }
  return tree;
}

// The glass spire on the top and the star turning above it.
void BuildTreeTop(GenScene &scene, int tree) {
  MeshMaker spire = StartWorldMesh("KugelSpitze", {0, 0, TREE_TOP - 0.5f});
  AddLathe(spire,
           {{0, TREE_TOP - 0.5f}, {0.12f, TREE_TOP - 0.42f}, {0.26f, TREE_TOP - 0.2f}, {0.28f, TREE_TOP},
            {0.2f, TREE_TOP + 0.2f}, {0.08f, TREE_TOP + 0.35f}, {0.06f, TREE_TOP + 0.7f}, {0, TREE_TOP + 1.0f}},
           10, 0, 0, 1, 1);
  AddStillMesh(scene, spire, 0, tree);

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
void BuildOrnaments(GenScene &scene, int tree, SceneRandom &random) {
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

      char hookName[24], ballName[24];
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
      HoldStill(scene.Nodes[AddNode(scene, NODE_OBJECT, ballName, "", hookNode)], sub(centre, hook), 0);
    }
  }
}

