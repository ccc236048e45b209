// The local frame of a mesh: the file's axes become a world-to-local matrix.
#include "scene/scene.h"

Matrix16 IdentityMatrix() {
  Matrix16 m{};
  m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1;
  return m;
}

static float AxisScale(const Matrix16 &m, int i) {
  return 1 / (m.m[i] * m.m[i] + m.m[i + 4] * m.m[i + 4] + m.m[i + 8] * m.m[i + 8]);
}

void normalizeMeshAxes(Matrix16 &m) {
  for (int i = 0; i < 3; i++) {
    float s = AxisScale(m, i);
    m.m[i] *= s;
    m.m[i + 4] *= s;
    m.m[i + 8] *= s;
  }
  m.m[3] = m.m[7] = m.m[11] = 0;
  m.m[15] = 1;
}

// The 3 x 3 part is transposed with each row scaled by the squared length of
// its axis; the translation follows from it.
Matrix16 invertMeshMatrix(const Matrix16 &m) {
  Matrix16 r{};
  for (int i = 0; i < 3; i++) {
    float s = AxisScale(m, i);
    r.m[i] = m.m[4 * i] * s;
    r.m[i + 4] = m.m[4 * i + 1] * s;
    r.m[i + 8] = m.m[4 * i + 2] * s;
    r.m[12 + i] = -(r.m[i] * m.m[12] + r.m[i + 4] * m.m[13] + r.m[i + 8] * m.m[14]);
  }
  r.m[3] = r.m[7] = r.m[11] = 0;
  r.m[15] = 1;
  return r;
}
