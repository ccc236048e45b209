// State of one LoadScene call, shared by the editor-chunk walkers and the
// keyframer reader.
#pragma once

#include "scene/chunk.h"
#include "scene/scene.h"

struct SceneReader {
  DataFile File;
  Scene *Target;
  ShortString ObjectName;  // the last named-object name read
  uint32_t TexCoordCount;  // texture coordinates stored in the current mesh
  uint32_t VertexSlots;    // vertices the current mesh's arrays can hold
  float LastColour[3];     // the last float colour read
  bool EditorDone;         // the editor section is read once
  bool KeyframerDone;      // and so is the keyframer section
  uint32_t ObjectSlots, CameraSlots, LightSlots;  // allocated array lengths
};

// A new object, camera or light at the end of its array, with its load-time
// values; the count is not raised.
SceneObject &NewSceneObject(SceneReader &reader);
SceneCamera &NewSceneCamera(SceneReader &reader);
SceneLight &NewSceneLight(SceneReader &reader);

// Index of the first object, camera or light with that name, or -1.
int64_t FindObject(const Scene &scene, const ShortString &name);
int64_t FindCamera(const Scene &scene, const ShortString &name);
int64_t FindLight(const Scene &scene, const ShortString &name);

// The keyframer section; entered just behind its 0xB000 header.
void ReadKeyframer(SceneReader &reader);
