// The in-memory scene: meshes and dummy objects, cameras and lights with
// their keyframe tracks, loaded once from a 3DS file by LoadScene and kept
// until the process ends.
#pragma once

#include "core/short_string.h"
#include "render/vector_math.h"
#include "scene/track.h"

#include <cstdint>

enum { SCENE_MAX_LIGHTS = 8, SCENE_NO_PARENT = 0xFFFF };

struct ParticleSystem;

struct SceneObject {
  Vector3 *Vertices;        // VertexCount points, in the file's world coordinates
  float *TexCoords;         // VertexCount pairs (u, -v)
  uint32_t *Faces;          // FaceCount triangles, three vertex indices each
  uint16_t *FaceFlags;      // the file's flag word per face
  Vector3 *VertexNormals;   // VertexCount smoothed normals
  Vector3 *FaceNormals;     // FaceCount unit normals
  uint32_t VertexCount;
  uint32_t FaceCount;
  bool Textured;
  bool Reflective;
  bool Transparent;
  Matrix16 MeshMatrix;         // world-to-local frame of the mesh; identity for dummies
  Matrix16 MeshMatrixInverse;
  Vector3 MeshOffset;          // minus the origin of the mesh's frame
  VectorTrack PositionTrack;
  VectorTrack ScaleTrack;
  ::RotationTrack RotationTrack;
  bool Drawable;
  Vector3 BoundingCorners[8];
  bool Visible;
  uint32_t BaseTexture, ReflectionTexture;  // GL texture names
  uint32_t BaseTexEnv, ReflectionTexEnv;    // GL texture-environment modes
  ShortString Name;
  ShortString ParentName;  // empty for a root
  uint32_t ParentIndex;    // the keyframer node's parent number, 0xFFFF for none
  bool IsDummy;
};

struct SceneCamera {
  Vector3 Position;
  Vector3 Target;
  float Roll;        // bank angle in degrees
  float Lens;
  float DepthScale;  // 1.0 at load
  VectorTrack PositionTrack;
  VectorTrack TargetTrack;
  VectorTrack RollTrack;  // the roll angle in x
  ShortString Name;
};

struct SceneLight {
  Vector3 Position;
  float Colour[3];
  VectorTrack PositionTrack;
  uint32_t GlowTexture, FlareTex;    // GL texture names
  uint32_t GlowTexEnv, FlareTexEnv;  // GL texture-environment modes
  float FlareSize;                   // 1.0 at load
  ShortString Name;
};

struct Scene {
  SceneObject *Objects;
  SceneCamera *Cameras;
  SceneLight *Lights;
  ParticleSystem *ParticleSystems;
  uint32_t ObjectCount;
  uint32_t CameraCount;
  uint32_t LightCount;  // at most 8 after loading
  uint32_t ParticleSystemCount;
  float AmbientColour[3];
  uint32_t ActiveCamera;
  int32_t FirstFrame, LastFrame;
  ShortString FileName;
};

// The show's one scene.
extern Scene ShowScene;

// Fills the scene from a 3DS file ('\' separators allowed). A file that cannot
// be read ends the program through the data reader; a file that does not
// start with the main chunk gives an empty scene. Load a scene only once.
void LoadScene(const char *fileName, Scene &scene);
// The same for a file held in memory; the scene's file name is given.
void LoadSceneMemory(const void *bytes, int32_t length, const char *fileName, Scene &scene);
// Releases everything a load allocated and empties the scene (tools, tests).
void FreeScene(Scene &scene);

// Scales each axis (column 0, 1, 2 of the 3 x 3 part) by the reciprocal of
// its squared length.
void normalizeMeshAxes(Matrix16 &m);
// The inverse of a mesh matrix whose axes are perpendicular.
Matrix16 invertMeshMatrix(const Matrix16 &m);
Matrix16 IdentityMatrix();

// Derived mesh data, computed at load once the mesh is read.
void computeFaceNormals(SceneObject &object);
// Every vertex gets the normalised sum of the normals of all faces with a
// corner at exactly its position; (0, 0, 1) when there are none.
void computeVertexNormals(SceneObject &object);
void computeBoundingCorners(SceneObject &object);
