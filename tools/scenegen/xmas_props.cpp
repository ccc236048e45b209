// Everything round the tree: the snowman and the presents near it, houses
// and firs in the distance, the sledge and the bells that move.
#include "tools/scenegen/xmas_build.h"

#include <algorithm>
#include <cstdio>

// ---------------------------------------------------------------- around the tree

void BuildSnowman(GenScene &scene) {
  const Vector3 at = {1.05f, -7.55f, XmasGroundHeight(1.05f, -7.55f) - 0.15f};
  const float heading = -1.65f;  // looking out to where the camera passes
  MeshMaker body = StartMesh("Snowman", at, heading);
  UsePatch(body, SNOW_PATCH);
  AddSphere(body, {0, 0, 1.05f}, 1.2f, 13, 8);
  AddSphere(body, {0, 0, 2.55f}, 0.82f, 12, 7);
  AddSphere(body, {0, 0, 3.65f}, 0.56f, 11, 7);
  // scarf round the neck
  std::vector<ProfilePoint> scarf;
  for (int k = 0; k <= 8; k++) {
    float a = -PI / 2 + PI * 2 * (float)k / 8;
    scarf.push_back({0.6f + 0.13f * std::cos(a), 3.18f + 0.13f * std::sin(a)});
  }
  UsePatch(body, OLIVE_PATCH);
  AddLathe(body, scarf, 12, 0, 0, 3, 0.5f);
  // buttons
  UsePatch(body, GREY_PATCH);
  for (int b = 0; b < 3; b++) {
    float z = 2.25f + 0.3f * (float)b, r = 0.82f;
    float dz = z - 2.55f, dx = std::sqrt(r * r - dz * dz);
    AddSphere(body, {dx + 0.02f, 0, z}, 0.08f, 5, 3);
  }
  AddStillMesh(scene, body, heading);

  MeshMaker hat = StartMesh("SnowmanHat", at, heading);
  UsePatch(hat, GREY_PATCH);
  AddLathe(hat, {{0, 4.05f}, {0.62f, 4.05f}, {0.62f, 4.12f}, {0.4f, 4.14f}, {0.38f, 4.75f}, {0, 4.75f}}, 14, 0, 0, 2, 1);
  AddStillMesh(scene, hat, heading);

  // a carrot nose along the frame's x axis: a cone laid on its side
  MeshMaker nose = StartMesh("SnowmanNose", at, heading);
  UsePatch(nose, OLIVE_PATCH);
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

void BuildPresents(GenScene &scene, SceneRandom &random) {
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

// A house of olive timber under a snow-white gable roof, with a grey door
// and chimney and bright windows on every side: the lights behind the
// camera shine on the side it sees.
static void BuildHouse(GenScene &scene, const char *name, float angle, float distance, float heading, float width,
                       float depth) {
  float x = distance * std::cos(angle), y = distance * std::sin(angle);
  float ground = std::min({XmasGroundHeight(x - 3, y - 3), XmasGroundHeight(x + 3, y - 3), XmasGroundHeight(x - 3, y + 3),
                           XmasGroundHeight(x + 3, y + 3), XmasGroundHeight(x, y)});
  Vector3 origin = {x, y, ground - 0.4f};
  MeshMaker m = StartMesh(name, origin, heading);
  const float wall = 3.0f, hw = width / 2, hd = depth / 2;
  UsePatch(m, OLIVE_PATCH);
  AddBox(m, {-hw, -hd, 0}, {hw, hd, wall}, 1.5f);
  // gable roof along y with eaves, its snow a thick slab
  UsePatch(m, SNOW_PATCH);
  std::vector<ProfilePoint> roof = {{-hw - 0.6f, wall - 0.25f}, {hw + 0.6f, wall - 0.25f}, {0, wall + 0.5f * width}};
  AddPrism(m, roof, depth + 1.0f, 1.0f);
  UsePatch(m, GREY_PATCH);
  AddBox(m, {hw * 0.35f, -0.35f, wall + 0.6f}, {hw * 0.35f + 0.7f, 0.35f, wall + 0.5f * width + 0.4f}, 1.0f);  // chimney
  const float proud = 0.03f;
  AddPanel(m, {0, hd + proud, 1.0f}, {-0.5f, 0, 0}, {0, 0, 1.0f});  // the door, towards the tree
  UsePatch(m, SNOW_PATCH);
  for (float side : {-1.0f, 1.0f}) {
    for (float cx : {-hw * 0.6f, hw * 0.6f})  // two windows on each long side
      AddPanel(m, {cx, side * (hd + proud), 1.65f}, {-side * 0.45f, 0, 0}, {0, 0, 0.45f});
    AddPanel(m, {side * (hw + proud), 0, 1.65f}, {0, side * 0.45f, 0}, {0, 0, 0.45f});  // and one at each end
  }
  AddStillMesh(scene, m, heading);
}

// A fir of three tiers, each an olive skirt under a snowy cone, on a grey
// trunk: cones of seven sides, open below, cheap at a distance.
static void BuildFir(GenScene &scene, const char *name, float x, float y, float size) {
  Vector3 origin = {x, y, XmasGroundHeight(x, y) - 0.2f};
  MeshMaker m = StartMesh(name, origin);
  const int sides = 7;
  UsePatch(m, GREY_PATCH);
  AddLathe(m, {{0.28f * size, 0}, {0.22f * size, 1.1f * size}}, 5, 0, 0, 1, 1);
  static const float base[3] = {0.8f, 2.2f, 3.4f}, reach[3] = {2.1f, 1.65f, 1.2f}, height[3] = {2.0f, 1.85f, 2.2f};
  for (int t = 0; t < 3; t++) {
    float z = base[t] * size, r = reach[t] * size, h = height[t] * size;
    UsePatch(m, OLIVE_PATCH);
    AddLathe(m, {{r, z}, {0.55f * r, z + 0.4f * h}}, sides, 0, 0, 1, 2);
    UsePatch(m, SNOW_PATCH);
    AddLathe(m, {{0.55f * r, z + 0.4f * h}, {0, z + h}}, sides, 0, 0, 1, 2);
  }
  AddStillMesh(scene, m, 0);
}

void BuildSurroundings(GenScene &scene, SceneRandom &random) {
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

void BuildSledge(GenScene &scene) {
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
void BuildBells(GenScene &scene) {
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

