#include "effects/camera.h"

#include "render/vector_math.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>

static const float TOLERANCE = 0.001f;

static int32_t LastKeyFrame(const VectorTrack &track, int32_t fallback) {
  return track.KeyCount > 0 ? track.Keys[track.KeyCount - 1].Frame : fallback;
}

int32_t CameraSearchEnd(const VectorTrack &eye, const VectorTrack &target, int32_t frame) {
  int32_t last = LastKeyFrame(eye, frame);
  int32_t lastTarget = LastKeyFrame(target, frame);
  if (lastTarget > last) last = lastTarget;
  int64_t cap = (int64_t)frame + CAMERA_SEARCH_LIMIT;
  if (last > cap) last = (int32_t)cap;
  if (last < frame) last = frame;
  return last;
}

// Component by component, |a| and |b| agree within the tolerance.
static bool SameMagnitudes(const Vector3 &a, const Vector3 &b) {
  return std::fabs(std::fabs(a.x) - std::fabs(b.x)) <= TOLERANCE &&
         std::fabs(std::fabs(a.y) - std::fabs(b.y)) <= TOLERANCE &&
         std::fabs(std::fabs(a.z) - std::fabs(b.z)) <= TOLERANCE;
}

static bool NearZero(const Vector3 &v) {
  return std::fabs(v.x) <= TOLERANCE && std::fabs(v.y) <= TOLERANCE && std::fabs(v.z) <= TOLERANCE;
}

void ApplyCamera(Scene &scene, int32_t frame) {
  if (!scene.Cameras || scene.ActiveCamera >= scene.CameraCount) return;
  SceneCamera &c = scene.Cameras[scene.ActiveCamera];
  const int32_t end = CameraSearchEnd(c.PositionTrack, c.TargetTrack, frame);
  int32_t f = frame;
  Vector3 up;
  for (;;) {
    up = set(0, 0, -1);
    sampleVectorTrack(c.PositionTrack, f, c.Position);
    sampleVectorTrack(c.TargetTrack, f, c.Target);
    Vector3 dir = sub(c.Target, c.Position);
    normalize(dir);
    f++;
    // Past the end the tracks hold still: what was found last is used.
    bool lastTry = f > end;
    if (NearZero(dir) || SameMagnitudes(dir, up)) {
      if (lastTry) break;
      continue;
    }
    Vector3 right = cross(dir, up);
    normalize(right);
    up = cross(dir, right);
    normalize(up);
    if (!SameMagnitudes(dir, up) || lastTry) break;
  }
  glScalef(1.0f, 1.0f, c.DepthScale);
  // The roll is sampled at f, one tick past the view found: the pictures' roll depends on it.
  float roll = c.Roll, unused1 = 0, unused2 = 0;
  sampleVectorTrack(c.RollTrack, f, roll, unused1, unused2);
  c.Roll = roll;
  glRotatef(c.Roll, 0, 0, 1);
  gluLookAt(c.Position.x, c.Position.y, c.Position.z, c.Target.x, c.Target.y, c.Target.z, up.x, up.y, up.z);
}
