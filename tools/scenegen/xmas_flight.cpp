// The lights circling the tree and the camera's flight.
#include "tools/scenegen/xmas_build.h"

#include <cstdlib>

// ---------------------------------------------------------------- lights

// The lights circle the tree once a camera loop, as the camera does, each
// at its own angle from the camera's and swinging about it, so that their
// paths repeat with the loop and none passes close to the lens: a light's
// glows are some 7 units across whatever its distance, so near the camera
// they would fill the picture. The warm white one is the key light: high
// behind the camera, out of the picture, it lights the side of everything
// that the camera sees. The others shine beyond and beside the tree.
struct LightOrbit {
  const char *Name;
  float Colour[3];
  float Offset, Swing;    // degrees from the camera's angle round the tree, and the swing about it
  float SwingRate;        // swings a loop
  float Radius, Height;   // from the tree's axis; above the ground
  float Bob, BobRate;     // rise and fall, and how often a loop
  float Phase;            // radians
};

static const LightOrbit LIGHTS[] = {
    {"Light1", {1.0f, 0.96f, 0.9f}, 0, 15, 1, 26.0f, 16.0f, 1.0f, 2, 0.0f},     // warm white
    {"Light2", {1.0f, 0.74f, 0.32f}, 150, 40, 1, 11.0f, 6.5f, 1.5f, 3, 1.0f},   // gold
    {"Light3", {1.0f, 0.26f, 0.2f}, 210, 40, 2, 11.5f, 4.5f, 1.0f, 2, 2.0f},    // red
    {"Light4", {0.55f, 0.78f, 1.0f}, 180, 70, 1, 12.5f, 8.5f, 1.5f, 3, 3.0f},   // ice blue
    {"Light5", {0.6f, 0.95f, 0.8f}, 130, 30, 2, 10.5f, 3.5f, 0.8f, 4, 4.0f},    // pale mint
};

// The camera's angle round the tree in degrees: its keys step evenly.
static float CameraAngle(float t);

// Keys a tenth of a loop apart trace the circles closely enough.
static const int32_t LIGHT_STEP = XMAS_LOOP / 10;

static Vector3 LightPosition(const LightOrbit &o, float t) {
  float loop = 2 * PI * t / (float)XMAS_LOOP;
  float degrees = CameraAngle(t) + o.Offset + o.Swing * std::sin(o.SwingRate * loop + o.Phase);
  float a = degrees * PI / 180.0f;
  float z = o.Height + o.Bob * std::sin(o.BobRate * loop + o.Phase * 1.7f);
  float x = o.Radius * std::cos(a), y = o.Radius * std::sin(a);
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
    // A key before tick 0, so the lights pass it without a halt, as they
    // pass every later start of the loop.
    for (int32_t f = -LIGHT_STEP; f <= XMAS_SPAN; f += LIGHT_STEP) node.Position.Keys.push_back(Key3(f, LightPosition(o, (float)f)));
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

static float CameraAngle(float t) {
  return CAMERA_KEYS[0].Angle + 360.0f * t / (float)XMAS_LOOP;
}

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

