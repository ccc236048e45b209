// Face normals, smoothed vertex normals and bounding corners of a mesh.
//
// A vertex normal sums the normals of every face with a corner at exactly the
// vertex's position, so vertices that the file duplicates along texture seams
// are smoothed together. Faces are found through a hash table of corner
// positions; each position's faces are summed in ascending face order.
#include "scene/scene.h"

#include <cmath>
#include <cstring>
#include <vector>

void computeFaceNormals(SceneObject &object) {
  for (uint32_t f = 0; f < object.FaceCount; f++) {
    const uint32_t *corner = object.Faces + 3 * f;
    Vector3 a = object.Vertices[corner[0]], b = object.Vertices[corner[1]], c = object.Vertices[corner[2]];
    Vector3 n = cross(Vector3{b.x - a.x, b.y - a.y, b.z - a.z}, Vector3{c.x - a.x, c.y - a.y, c.z - a.z});
    normalize(n);
    object.FaceNormals[f] = n;
  }
}

// Positions compare with float equality: -0 equals +0, and a position with a
// NaN component equals nothing, not even itself.
struct PositionKey {
  uint32_t Bits[3];
};

static bool MakePositionKey(const Vector3 &p, PositionKey &key) {
  const float c[3] = {p.x, p.y, p.z};
  for (int i = 0; i < 3; i++) {
    if (std::isnan(c[i])) return false;
    float v = c[i] == 0 ? 0.0f : c[i];
    memcpy(&key.Bits[i], &v, 4);
  }
  return true;
}

static uint32_t HashPosition(const PositionKey &k) {
  uint64_t h = k.Bits[0] * 0x9E3779B97F4A7C15ull;
  h = (h ^ (h >> 29) ^ k.Bits[1]) * 0xBF58476D1CE4E5B9ull;
  h = (h ^ (h >> 31) ^ k.Bits[2]) * 0x94D049BB133111EBull;
  return (uint32_t)(h ^ (h >> 32));
}

// Open addressing from position to a dense position number.
struct PositionTable {
  std::vector<PositionKey> Keys;
  std::vector<uint32_t> Slots;  // position number + 1, 0 when empty
  uint32_t Mask;
};

static void PositionTableInit(PositionTable &table, uint32_t expected) {
  uint32_t size = 16;
  while (size < expected * 2) size *= 2;
  table.Slots.assign(size, 0);
  table.Mask = size - 1;
  table.Keys.clear();
  table.Keys.reserve(expected);
}

// The number of a position; a new one when add is set, else UINT32_MAX.
static uint32_t PositionNumber(PositionTable &table, const PositionKey &key, bool add) {
  uint32_t i = HashPosition(key) & table.Mask;
  for (;;) {
    uint32_t slot = table.Slots[i];
    if (slot == 0) break;
    if (memcmp(&table.Keys[slot - 1], &key, sizeof key) == 0) return slot - 1;
    i = (i + 1) & table.Mask;
  }
  if (!add) return UINT32_MAX;
  table.Keys.push_back(key);
  table.Slots[i] = (uint32_t)table.Keys.size();
  return (uint32_t)table.Keys.size() - 1;
}

static Vector3 FinishVertexNormal(const Vector3 &sum) {
  double l = std::sqrt((double)sum.x * sum.x + (double)sum.y * sum.y + (double)sum.z * sum.z);
  if (l == 0) return Vector3{0, 0, 1};
  float r = (float)(1.0 / l);
  return Vector3{sum.x * r, sum.y * r, sum.z * r};
}

void computeVertexNormals(SceneObject &object) {
  uint32_t faceCount = object.FaceCount;
  PositionTable table;
  PositionTableInit(table, faceCount * 3 + 1);

  // Every face once under each distinct position of its corners, in face order.
  std::vector<uint32_t> cornerPosition(faceCount * 3, UINT32_MAX);
  for (uint32_t f = 0; f < faceCount; f++) {
    for (int c = 0; c < 3; c++) {
      PositionKey key;
      if (MakePositionKey(object.Vertices[object.Faces[3 * f + c]], key))
        cornerPosition[3 * f + c] = PositionNumber(table, key, true);
    }
  }
  uint32_t positions = (uint32_t)table.Keys.size();
  std::vector<uint32_t> first(positions + 1, 0);
  for (uint32_t f = 0; f < faceCount; f++) {
    const uint32_t *p = &cornerPosition[3 * f];
    for (int c = 0; c < 3; c++)
      if (p[c] != UINT32_MAX && (c < 1 || p[c] != p[0]) && (c < 2 || p[c] != p[1])) first[p[c] + 1]++;
  }
  for (uint32_t i = 0; i < positions; i++) first[i + 1] += first[i];
  std::vector<uint32_t> faces(first[positions]);
  std::vector<uint32_t> fill(first.begin(), first.end() - 1);
  for (uint32_t f = 0; f < faceCount; f++) {
    const uint32_t *p = &cornerPosition[3 * f];
    for (int c = 0; c < 3; c++)
      if (p[c] != UINT32_MAX && (c < 1 || p[c] != p[0]) && (c < 2 || p[c] != p[1])) faces[fill[p[c]]++] = f;
  }

  // One sum per position, shared by all vertices there.
  std::vector<Vector3> normal(positions);
  for (uint32_t i = 0; i < positions; i++) {
    Vector3 sum{0, 0, 0};
    for (uint32_t j = first[i]; j < first[i + 1]; j++) {
      const Vector3 &n = object.FaceNormals[faces[j]];
      sum.x += n.x;
      sum.y += n.y;
      sum.z += n.z;
    }
    normal[i] = FinishVertexNormal(sum);
  }
  for (uint32_t v = 0; v < object.VertexCount; v++) {
    PositionKey key;
    uint32_t i = MakePositionKey(object.Vertices[v], key) ? PositionNumber(table, key, false) : UINT32_MAX;
    object.VertexNormals[v] = i == UINT32_MAX ? Vector3{0, 0, 1} : normal[i];
  }
}

void computeBoundingCorners(SceneObject &object) {
  Vector3 lo{10000000, 10000000, 10000000}, hi{-10000000, -10000000, -10000000};
  for (uint32_t v = 0; v < object.VertexCount; v++) {
    const Vector3 &p = object.Vertices[v];
    if (lo.x > p.x) lo.x = p.x;
    if (lo.y > p.y) lo.y = p.y;
    if (lo.z > p.z) lo.z = p.z;
    if (hi.x < p.x) hi.x = p.x;
    if (hi.y < p.y) hi.y = p.y;
    if (hi.z < p.z) hi.z = p.z;
  }
  for (int k = 0; k < 8; k++) {
    object.BoundingCorners[k] = Vector3{(k & 2) ? hi.x : lo.x, (k & 4) ? hi.y : lo.y, (k & 1) ? hi.z : lo.z};
  }
}
