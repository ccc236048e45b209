// Scene-graph traversal and mesh drawing: each mesh is placed by its
// keyframed parent chain, culled by its projected bounding box and drawn
// from client vertex arrays with one indexed triangle list.
#pragma once

#include <cstdint>

struct Scene;
struct SceneObject;

// Multiplies the current GL matrix by the mesh's hierarchical transform at
// the frame (root ... parent * self), or by its inverse. withPivot adds the
// mesh's own frame (MeshMatrix, MeshOffset) for the mesh itself.
void applyObjectTransform(Scene &scene, uint32_t meshIndex, int32_t frame, bool withPivot, bool inverse);
// Culls and draws one mesh with the modelview already set up; rewrites
// its Visible flag.
void drawMesh(SceneObject &mesh, Scene &scene, int32_t frame);
// Points the client arrays at the mesh and draws its triangles.
void drawMeshArrays(SceneObject &mesh);
// The view test alone: false when all eight bounding corners lie beyond the
// same limit of the view under the current matrices and viewport.
bool boundingBoxInView(const SceneObject &mesh);
