// Mesh building for the scene generator: points are given in a mesh's own
// frame and stored in world coordinates, the way a modelling program keeps
// them; a point that repeats an earlier one (same position and texture
// coordinates) is shared.
#pragma once

#include "tools/scenegen/scene_file.h"

#include <array>
#include <map>

// A square of the texture, in texture coordinates: the show draws every
// mesh but the tree's with one snowy texture, and a mesh takes the shade of
// one of its parts (white snow, olive, grey) by mapping into that part.
struct TexturePatch {
  float U, V, Size;
};

struct MeshMaker {
  GenMesh Mesh;
  // While set (Size > 0), texture coordinates are folded into this square:
  // u and v modulo 1, scaled to it.
  TexturePatch Patch{0, 0, 0};
  // The frame the points are given in: the mesh's own, or the world's.
  Vector3 PointOrigin;
  float PointHeading;
  std::map<std::array<float, 5>, uint16_t> Seen;
};

// A new mesh whose frame is turned by heading (radians) about the vertical
// and placed at origin; points are given in that frame.
MeshMaker StartMesh(const std::string &name, const Vector3 &origin, float heading = 0);
// A new mesh with an upright frame at origin whose points are given in world
// coordinates.
MeshMaker StartWorldMesh(const std::string &name, const Vector3 &origin);
// A point of a frame turned by heading and placed at origin, in world coordinates.
Vector3 ToWorld(const Vector3 &origin, float heading, const Vector3 &local);

uint16_t AddPoint(MeshMaker &m, const Vector3 &local, float u, float v);
// The patch the following points map into; a size of 0 maps as given.
void UsePatch(MeshMaker &m, const TexturePatch &patch);
void AddTriangle(MeshMaker &m, uint16_t a, uint16_t b, uint16_t c);
// Two triangles a-b-c and a-c-d, counter-clockwise seen from the front.
void AddQuad(MeshMaker &m, uint16_t a, uint16_t b, uint16_t c, uint16_t d);

// A flat rectangle centred on centre, spanned by +-right and +-up, facing
// the way right x up points; the texture's square stretched over it.
void AddPanel(MeshMaker &m, const Vector3 &centre, const Vector3 &right, const Vector3 &up);

struct ProfilePoint {
  float Radius, Height;
};

// A surface of revolution about the frame's z axis through (cx, cy): the
// profile from bottom to top, turned in segments; u goes round uTurns times,
// v follows the profile's length divided by vLength. Points of radius 0 close
// the surface with a fan.
void AddLathe(MeshMaker &m, const std::vector<ProfilePoint> &profile, int segments, float cx, float cy,
              float uTurns, float vLength);
// A sphere of the given centre and radius.
void AddSphere(MeshMaker &m, const Vector3 &centre, float radius, int segments, int rings);
// An axis-parallel box in the frame, texture coordinates by face size.
void AddBox(MeshMaker &m, const Vector3 &low, const Vector3 &high, float texelSize);
// A flat polygon (star-shaped about its centre) extruded along the frame's
// y axis by depth, centred on y = 0: outline in x, z.
// The middle of each end face stands out by bulge times the half depth.
void AddPrism(MeshMaker &m, const std::vector<ProfilePoint> &outline, float depth, float bulge);

float Clamp01(float v);
float SmoothStep(float a, float b, float v);
