// A scene as a modelling program would save it in the 3DS chunk format: named
// meshes with vertices in world coordinates and a mesh matrix giving each
// mesh's frame, lights with float colours, cameras, the ambient colour, and a
// keyframer section with one node per object, camera, camera target and
// light. WriteSceneFile turns the record into the file's bytes.
#pragma once

#include "render/vector_math.h"

#include <cstdint>
#include <string>
#include <vector>

struct GenMesh {
  std::string Name;
  std::vector<Vector3> Points;  // world coordinates
  std::vector<float> TexCoords; // (u, v) per point
  std::vector<uint16_t> Faces;  // three point indices per triangle
  Vector3 Axes[3];              // the mesh's frame: perpendicular unit axes
  Vector3 Origin;               // and its origin, in world coordinates
};

// One key. Position and scale keys hold x, y, z; rotation keys an angle in
// radians and an axis, relative to the previous key; roll keys an angle in
// degrees.
struct GenKey {
  int32_t Frame;
  float Value[4];
};

struct GenTrack {
  std::vector<GenKey> Keys;
};

enum GenNodeType { NODE_OBJECT, NODE_CAMERA, NODE_TARGET, NODE_LIGHT };

struct GenNode {
  GenNodeType Type;
  std::string Name;      // the mesh, camera or light it animates; "$$$DUMMY" for a dummy
  std::string Instance;  // the instance name, empty for none
  int Parent;            // index of the parent node, -1 for a root
  bool HasPivot;
  Vector3 Pivot;  // in the mesh's frame
  GenTrack Position, Rotation, Scale, Roll;
};

struct GenLight {
  std::string Name;
  Vector3 Position;
  float Colour[3];
};

struct GenCamera {
  std::string Name;
  Vector3 Position, Target;
  float Bank;  // degrees
  float Lens;  // millimetres
};

struct GenScene {
  float Ambient[3];
  std::vector<GenMesh> Meshes;
  std::vector<GenLight> Lights;
  std::vector<GenCamera> Cameras;
  // Object nodes in depth-first order (every parent before its children),
  // then the camera, target and light nodes.
  std::vector<GenNode> Nodes;
  int32_t FirstFrame, LastFrame;
};

std::vector<uint8_t> WriteSceneFile(const GenScene &scene);
