#include "render/mesh_draw.h"

#include "launcher/glcaps.h"
#include "render/vector_math.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

// Whether this module holds an array lock: the GL refuses an unlock without
// a lock (and a second lock), so the first array set-up has none to undo.
static bool ArraysLocked;

static void sampleLocalTransform(const SceneObject &object, int32_t frame, Vector3 &position, Quaternion &rotation,
                                 Vector3 &scale) {
  // Tracks without keys leave these values: no move, no turn, unit scale.
  position = set(0, 0, 0);
  rotation = Quaternion{1, 0, 0, 0};
  scale = set(1, 1, 1);
  sampleVectorTrack(object.PositionTrack, frame, position);
  sampleRotationTrack(object.RotationTrack, frame, rotation);
  sampleVectorTrack(object.ScaleTrack, frame, scale);
}

static void applyForwardLocal(const SceneObject &object, int32_t frame, bool withPivot) {
  Vector3 position, scale;
  Quaternion rotation;
  sampleLocalTransform(object, frame, position, rotation, scale);
  glTranslatef(position.x, position.y, position.z);
  Matrix16 turn = quaternionToMatrix(rotation);
  glMultMatrixf(turn.m);
  glScalef(scale.x, scale.y, scale.z);
  if (withPivot) {
    glMultMatrixf(object.MeshMatrix.m);
    glTranslatef(object.MeshOffset.x, object.MeshOffset.y, object.MeshOffset.z);
  }
}

static void applyInverseLocal(const SceneObject &object, int32_t frame, bool withPivot) {
  Vector3 position, scale;
  Quaternion rotation;
  sampleLocalTransform(object, frame, position, rotation, scale);
  if (withPivot) {
    glTranslatef(-object.MeshOffset.x, -object.MeshOffset.y, -object.MeshOffset.z);
    glMultMatrixf(object.MeshMatrixInverse.m);
  }
  glScalef(1.0f / scale.x, 1.0f / scale.y, 1.0f / scale.z);
  Matrix16 turn = quaternionToMatrix(conjugate(rotation));
  glMultMatrixf(turn.m);
  glTranslatef(-position.x, -position.y, -position.z);
}

static int32_t findParent(const Scene &scene, const SceneObject &object) {
  if (object.ParentName.Length == 0) return -1;
  for (uint32_t i = 0; i < scene.ObjectCount; i++)
    if (SameShortString(scene.Objects[i].Name, object.ParentName)) return (int32_t)i;
  return -1;
}

// depth counts the ancestors walked so far: a chain longer than the object
// list has a loop in it (a parent named after its own child), which ends
// there as if it had reached a root.
static void applyChain(Scene &scene, uint32_t index, int32_t frame, bool withPivot, bool inverse, uint32_t depth) {
  const SceneObject &object = scene.Objects[index];
  if (inverse) applyInverseLocal(object, frame, withPivot);
  int32_t parent = depth < scene.ObjectCount ? findParent(scene, object) : -1;
  if (parent >= 0) applyChain(scene, (uint32_t)parent, frame, false, inverse, depth + 1);
  if (!inverse) applyForwardLocal(object, frame, withPivot);
}

void applyObjectTransform(Scene &scene, uint32_t meshIndex, int32_t frame, bool withPivot, bool inverse) {
  if (meshIndex >= scene.ObjectCount) return;
  applyChain(scene, meshIndex, frame, withPivot, inverse, 0);
}

bool boundingBoxInView(const SceneObject &mesh) {
  GLdouble model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  enum { NEAR, LEFT, RIGHT, BELOW, ABOVE, FAR, LIMITS };
  int outside[LIMITS] = {0, 0, 0, 0, 0, 0};
  for (const Vector3 &corner : mesh.BoundingCorners) {
    GLdouble x, y, z;
    // A corner behind the eye projects mirrored, with a depth beyond the far
    // plane: it only counts as behind the near plane, or a box around the
    // camera that reaches past the far plane (a ground) would be culled.
    double eyeZ = model[2] * corner.x + model[6] * corner.y + model[10] * corner.z + model[14];
    if (eyeZ >= 0) {
      outside[NEAR]++;
      continue;
    }
    if (gluProject(corner.x, corner.y, corner.z, model, projection, viewport, &x, &y, &z) == GL_TRUE) {
      // The window coordinates include the viewport origin, which is not
      // 0 where the picture sits between bars (the screen saver).
      if (x < viewport[0]) outside[LEFT]++;
      if (x >= viewport[0] + viewport[2]) outside[RIGHT]++;
      if (y < viewport[1]) outside[BELOW]++;
      if (y >= viewport[1] + viewport[3]) outside[ABOVE]++;
      if (z > 1) outside[FAR]++;
      if (z < 0) outside[NEAR]++;
    } else {
      for (int &count : outside) count++;
    }
  }
  for (int count : outside)
    if (count >= 8) return false;
  return true;
}

void drawMeshArrays(SceneObject &mesh) {
  if (HasCompiledArrays && ArraysLocked) {
    glUnlockArraysEXT();
    ArraysLocked = false;
  }
  if (mesh.VertexCount == 0 || mesh.FaceCount == 0) return;
  glVertexPointer(3, GL_FLOAT, 0, mesh.Vertices);
  glNormalPointer(GL_FLOAT, 0, mesh.VertexNormals);
  glTexCoordPointer(2, GL_FLOAT, 0, mesh.TexCoords);
  if (HasCompiledArrays) {
    glLockArraysEXT(0, (GLsizei)mesh.VertexCount);
    ArraysLocked = true;
  }
  glDrawElements(GL_TRIANGLES, (GLsizei)(mesh.FaceCount * 3), GL_UNSIGNED_INT, mesh.Faces);
}

void drawMesh(SceneObject &mesh, Scene &, int32_t) {
  if (mesh.IsDummy) return;
  mesh.Visible = true;
  if (mesh.Drawable) mesh.Visible = boundingBoxInView(mesh);
  if (!mesh.Visible) return;
  glColor4f(1, 1, 1, 1);
  if (mesh.Textured) {
    glBindTexture(GL_TEXTURE_2D, mesh.BaseTexture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (GLfloat)mesh.BaseTexEnv);
    drawMeshArrays(mesh);
  }
  if (mesh.Reflective) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, mesh.ReflectionTexture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (GLfloat)mesh.ReflectionTexEnv);
    drawMeshArrays(mesh);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
  }
}
