// The lights circling the tree and the camera's flight.
#include "tools/scenegen/xmas_build.h"

#include <cstdlib>

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
    {"Light3", {0.16f, 1.0f, 0.3f}, 9.5f, 2.8f, 0.9f, 2700, 610, 4.5f},
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

void BuildLights(GenScene &scene) {
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
    {-114, 19.0f, 4.6f, {-1, -2.5f, 4.2f}},
    {-96, 18.0f, 3.5f, {-0.5f, -3, 3.6f}},  // low past the snowman
    {-78, 17.5f, 3.3f, {0, -2, 3.8f}},
    {-60, 17.5f, 3.9f, {0.5f, -1, 4.2f}},
    {-42, 17.0f, 5.0f, {0, 0, 5.0f}},
    {-24, 20.0f, 6.8f, {0, 0, 6.0f}},
    {-6, 20.0f, 9.0f, {0, 0, 6.4f}},
    {12, 19.5f, 12.0f, {0, 0, 6.6f}},  // rising
    {30, 21.0f, 16.0f, {0, 0, 6.5f}},  // looking down on the star
    {48, 21.0f, 15.0f, {0, 0, 6.5f}},
    {66, 20.0f, 11.5f, {0, 0, 6.2f}},
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

void BuildCamera(GenScene &scene) {
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

