// Creating, finding and releasing the scene's records.
#include "scene/scene_reader.h"

#include "core/exit_list.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

Scene ShowScene;

// Arrays grow by one record at a time as the file names them; the storage
// behind them doubles so that long files are not copied over and over.
static void *GrowArray(void *array, uint32_t count, uint32_t &slots, size_t size) {
  if (count < slots) return array;
  uint32_t want = slots ? slots * 2 : 4;
  void *grown = CheckedMemory(realloc(array, (size_t)want * size), "loading the scene");
  slots = want;
  return grown;
}

SceneObject &NewSceneObject(SceneReader &reader) {
  Scene &scene = *reader.Target;
  scene.Objects = (SceneObject *)GrowArray(scene.Objects, scene.ObjectCount, reader.ObjectSlots, sizeof(SceneObject));
  SceneObject &o = scene.Objects[scene.ObjectCount];
  memset(&o, 0, sizeof o);
  o.Textured = true;
  o.Visible = true;
  o.MeshMatrix = IdentityMatrix();
  o.MeshMatrixInverse = IdentityMatrix();
  o.ParentIndex = SCENE_NO_PARENT;
  return o;
}

SceneCamera &NewSceneCamera(SceneReader &reader) {
  Scene &scene = *reader.Target;
  scene.Cameras = (SceneCamera *)GrowArray(scene.Cameras, scene.CameraCount, reader.CameraSlots, sizeof(SceneCamera));
  SceneCamera &c = scene.Cameras[scene.CameraCount];
  memset(&c, 0, sizeof c);
  c.DepthScale = 1;
  return c;
}

SceneLight &NewSceneLight(SceneReader &reader) {
  Scene &scene = *reader.Target;
  scene.Lights = (SceneLight *)GrowArray(scene.Lights, scene.LightCount, reader.LightSlots, sizeof(SceneLight));
  SceneLight &l = scene.Lights[scene.LightCount];
  memset(&l, 0, sizeof l);
  l.FlareSize = 1;
  return l;
}

int64_t FindObject(const Scene &scene, const ShortString &name) {
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (SameShortString(scene.Objects[i].Name, name)) return i;
  return -1;
}

int64_t FindCamera(const Scene &scene, const ShortString &name) {
  for (uint32_t i = 0; i < scene.CameraCount; i++)
    if (SameShortString(scene.Cameras[i].Name, name)) return i;
  return -1;
}

int64_t FindLight(const Scene &scene, const ShortString &name) {
  // Lights beyond the eighth are searched too: the count is cut only at the end.
  for (uint32_t i = 0; i < scene.LightCount; i++)
    if (SameShortString(scene.Lights[i].Name, name)) return i;
  return -1;
}

void FreeScene(Scene &scene) {
  for (uint32_t i = 0; i < scene.ObjectCount; i++) {
    SceneObject &o = scene.Objects[i];
    free(o.Vertices);
    free(o.TexCoords);
    free(o.Faces);
    free(o.FaceFlags);
    free(o.VertexNormals);
    free(o.FaceNormals);
    TrackFree(o.PositionTrack);
    TrackFree(o.ScaleTrack);
    RotationTrackFree(o.RotationTrack);
  }
  for (uint32_t i = 0; i < scene.CameraCount; i++) {
    TrackFree(scene.Cameras[i].PositionTrack);
    TrackFree(scene.Cameras[i].TargetTrack);
    TrackFree(scene.Cameras[i].RollTrack);
  }
  for (uint32_t i = 0; i < scene.LightCount; i++) TrackFree(scene.Lights[i].PositionTrack);
  free(scene.Objects);
  free(scene.Cameras);
  free(scene.Lights);
  memset(&scene, 0, sizeof scene);
}
