// frosten-sceneinfo: prints a loaded 3DS scene as a summary or as JSON.
#pragma once

#include "scene/scene.h"

#include <cstdio>

struct SceneInfoOptions {
  bool Json;
  bool Geometry;     // vertices, faces and normals of every object
  bool Sample;       // the tracks sampled at SampleFrame
  int32_t SampleFrame;
};

void WriteSceneJson(FILE *out, const Scene &scene, const SceneInfoOptions &options);
void WriteSceneSummary(FILE *out, const Scene &scene, const SceneInfoOptions &options);
