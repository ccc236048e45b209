// Points, triangles and the few solids the scene is made of.
#include "tools/scenegen/shapes.h"

#include <cmath>

MeshMaker StartMesh(const std::string &name, const Vector3 &origin, float heading) {
  MeshMaker m;
  m.Mesh.Name = name;
  float c = std::cos(heading), s = std::sin(heading);
  m.Mesh.Axes[0] = {c, s, 0};
  m.Mesh.Axes[1] = {-s, c, 0};
  m.Mesh.Axes[2] = {0, 0, 1};
  m.Mesh.Origin = origin;
  m.PointOrigin = origin;
  m.PointHeading = heading;
  return m;
}

MeshMaker StartWorldMesh(const std::string &name, const Vector3 &origin) {
  MeshMaker m = StartMesh(name, origin, 0);
  m.PointOrigin = {0, 0, 0};
  return m;
}

Vector3 ToWorld(const Vector3 &origin, float heading, const Vector3 &p) {
  float c = std::cos(heading), s = std::sin(heading);
  return {origin.x + c * p.x - s * p.y, origin.y + s * p.x + c * p.y, origin.z + p.z};
}

void UsePatch(MeshMaker &m, const TexturePatch &patch) { m.Patch = patch; }

uint16_t AddPoint(MeshMaker &m, const Vector3 &local, float u, float v) {
  Vector3 w = ToWorld(m.PointOrigin, m.PointHeading, local);
  if (m.Patch.Size > 0) {
    // Any mix of points inside the square stays inside it, so faces that
    // straddle a fold still take only the patch's texels.
    u = m.Patch.U + m.Patch.Size * (u - std::floor(u));
    v = m.Patch.V + m.Patch.Size * (v - std::floor(v));
  }
  std::array<float, 5> key = {w.x, w.y, w.z, u, v};
  auto found = m.Seen.find(key);
  if (found != m.Seen.end()) return found->second;
  uint16_t index = (uint16_t)m.Mesh.Points.size();
  m.Mesh.Points.push_back(w);
  m.Mesh.TexCoords.push_back(u);
  m.Mesh.TexCoords.push_back(v);
  m.Seen[key] = index;
  return index;
}

void AddTriangle(MeshMaker &m, uint16_t a, uint16_t b, uint16_t c) {
  if (a == b || b == c || a == c) return;
  m.Mesh.Faces.insert(m.Mesh.Faces.end(), {a, b, c});
}

void AddQuad(MeshMaker &m, uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  AddTriangle(m, a, b, c);
  AddTriangle(m, a, c, d);
}

void AddPanel(MeshMaker &m, const Vector3 &c, const Vector3 &r, const Vector3 &u) {
  uint16_t a = AddPoint(m, {c.x - r.x - u.x, c.y - r.y - u.y, c.z - r.z - u.z}, 0, 1);
  uint16_t b = AddPoint(m, {c.x + r.x - u.x, c.y + r.y - u.y, c.z + r.z - u.z}, 1, 1);
  uint16_t d = AddPoint(m, {c.x + r.x + u.x, c.y + r.y + u.y, c.z + r.z + u.z}, 1, 0);
  uint16_t e = AddPoint(m, {c.x - r.x + u.x, c.y - r.y + u.y, c.z - r.z + u.z}, 0, 0);
  AddQuad(m, a, b, d, e);
}

void AddLathe(MeshMaker &m, const std::vector<ProfilePoint> &profile, int segments, float cx, float cy,
              float uTurns, float vLength) {
  std::vector<float> along(profile.size(), 0.0f);
  for (size_t i = 1; i < profile.size(); i++)
    along[i] = along[i - 1] + std::hypot(profile[i].Radius - profile[i - 1].Radius,
                                         profile[i].Height - profile[i - 1].Height);
  std::vector<std::vector<uint16_t>> ring(profile.size());
  for (size_t i = 0; i < profile.size(); i++) {
    float r = profile[i].Radius;
    // A point of radius 0 is the tip of a fan: one point per segment.
    int last = r == 0.0f ? segments - 1 : segments;
    for (int s = 0; s <= last; s++) {
      float a = 2.0f * (float)M_PI * (float)(s % segments) / (float)segments;
      float u = uTurns * (float)s / (float)segments;
      if (r == 0.0f) u = uTurns * ((float)s + 0.5f) / (float)segments;
      ring[i].push_back(AddPoint(m, {cx + r * std::cos(a), cy + r * std::sin(a), profile[i].Height}, u,
                                 along[i] / vLength));
    }
  }
  for (size_t i = 0; i + 1 < profile.size(); i++) {
    for (int s = 0; s < segments; s++) {
      uint16_t a = ring[i][s], d = ring[i + 1][s];
      if (profile[i].Radius == 0.0f) AddTriangle(m, a, ring[i + 1][s + 1], d);
      else if (profile[i + 1].Radius == 0.0f) AddTriangle(m, a, ring[i][s + 1], d);
      else AddQuad(m, a, ring[i][s + 1], ring[i + 1][s + 1], d);
    }
  }
}

void AddSphere(MeshMaker &m, const Vector3 &centre, float radius, int segments, int rings) {
  std::vector<ProfilePoint> profile;
  for (int i = 0; i <= rings; i++) {
    float a = (float)M_PI * (float)i / (float)rings - (float)M_PI / 2;
    float r = i == 0 || i == rings ? 0.0f : radius * std::cos(a);
    profile.push_back({r, centre.z + radius * std::sin(a)});
  }
  AddLathe(m, profile, segments, centre.x, centre.y, 1.0f, (float)M_PI * radius);
}

void AddBox(MeshMaker &m, const Vector3 &lo, const Vector3 &hi, float texel) {
  // Each face: a corner and two edge directions, counter-clockwise from outside.
  const Vector3 size = sub(hi, lo);
  struct Face {
    Vector3 Corner, U, V;
  };
  const Face faces[6] = {
      {{lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}},   // front (-y)
      {{hi.x, hi.y, lo.z}, {-size.x, 0, 0}, {0, 0, size.z}},  // back (+y)
      {{hi.x, lo.y, lo.z}, {0, size.y, 0}, {0, 0, size.z}},   // right (+x)
      {{lo.x, hi.y, lo.z}, {0, -size.y, 0}, {0, 0, size.z}},  // left (-x)
      {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}},   // top
      {{lo.x, hi.y, lo.z}, {size.x, 0, 0}, {0, -size.y, 0}},  // bottom
  };
  for (const Face &f : faces) {
    float lu = std::sqrt(lengthSquared(f.U)) / texel, lv = std::sqrt(lengthSquared(f.V)) / texel;
    auto at = [&](float a, float b) {
      return Vector3{f.Corner.x + f.U.x * a + f.V.x * b, f.Corner.y + f.U.y * a + f.V.y * b,
                     f.Corner.z + f.U.z * a + f.V.z * b};
    };
    uint16_t p0 = AddPoint(m, at(0, 0), 0, 0), p1 = AddPoint(m, at(1, 0), lu, 0);
    uint16_t p2 = AddPoint(m, at(1, 1), lu, lv), p3 = AddPoint(m, at(0, 1), 0, lv);
    AddQuad(m, p0, p1, p2, p3);
  }
}

void AddPrism(MeshMaker &m, const std::vector<ProfilePoint> &outline, float depth, float bulge) {
  // Outline points are (x = Radius, z = Height), counter-clockwise with x to
  // the right and z up; the front face is at y = -depth/2.
  float cx = 0, cz = 0;
  for (const ProfilePoint &p : outline) {
    cx += p.Radius;
    cz += p.Height;
  }
  cx /= (float)outline.size();
  cz /= (float)outline.size();
  float h = depth / 2;
  size_t n = outline.size();
  for (int side = 0; side < 2; side++) {
    float y = side == 0 ? -h : h;
    uint16_t centre = AddPoint(m, {cx, y * bulge, cz}, 0.5f, 0.5f);
    for (size_t i = 0; i < n; i++) {
      const ProfilePoint &p = outline[i], &q = outline[(i + 1) % n];
      uint16_t a = AddPoint(m, {p.Radius, y, p.Height}, 0.5f + p.Radius - cx, 0.5f + p.Height - cz);
      uint16_t b = AddPoint(m, {q.Radius, y, q.Height}, 0.5f + q.Radius - cx, 0.5f + q.Height - cz);
      if (side == 0) AddTriangle(m, centre, a, b);
      else AddTriangle(m, centre, b, a);
    }
  }
  for (size_t i = 0; i < n; i++) {
    const ProfilePoint &p = outline[i], &q = outline[(i + 1) % n];
    uint16_t a = AddPoint(m, {p.Radius, -h, p.Height}, 0, 0), b = AddPoint(m, {q.Radius, -h, q.Height}, 1, 0);
    uint16_t c = AddPoint(m, {q.Radius, h, q.Height}, 1, 0.3f), d = AddPoint(m, {p.Radius, h, p.Height}, 0, 0.3f);
    AddQuad(m, a, d, c, b);
  }
}

float Clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

float SmoothStep(float a, float b, float v) {
  float t = Clamp01((v - a) / (b - a));
  return t * t * (3 - 2 * t);
}
