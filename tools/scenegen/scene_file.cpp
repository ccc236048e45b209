// The 3DS writer: chunks are written depth first, each header's length filled
// in when the chunk is closed. All values are little-endian.
#include "tools/scenegen/scene_file.h"

#include "scene/chunk_ids.h"

#include <cstring>

// Chunks that the show does not read but that modelling programs write and
// other readers expect.
enum {
  M3D_VERSION = 0x0002,
  MESH_VERSION = 0x3D3E,
  MASTER_SCALE = 0x0100,
  KFHDR = 0xB00A,
  KFCURTIME = 0xB009,
  FOV_TRACK_TAG = 0xB023,
  NODE_ID = 0xB030
};

struct ChunkBytes {
  std::vector<uint8_t> Bytes;
  std::vector<size_t> Open;
};

static void PutU8(ChunkBytes &c, uint8_t v) { c.Bytes.push_back(v); }

static void PutU16(ChunkBytes &c, uint16_t v) {
  PutU8(c, (uint8_t)(v & 0xFF));
  PutU8(c, (uint8_t)(v >> 8));
}

static void PutU32(ChunkBytes &c, uint32_t v) {
  PutU16(c, (uint16_t)(v & 0xFFFF));
  PutU16(c, (uint16_t)(v >> 16));
}

static void PutFloat(ChunkBytes &c, float f) {
  uint32_t v;
  memcpy(&v, &f, 4);
  PutU32(c, v);
}

static void PutVector(ChunkBytes &c, const Vector3 &v) {
  PutFloat(c, v.x);
  PutFloat(c, v.y);
  PutFloat(c, v.z);
}

static void PutName(ChunkBytes &c, const std::string &name) {
  for (char ch : name) PutU8(c, (uint8_t)ch);
  PutU8(c, 0);
}

static void BeginChunk(ChunkBytes &c, uint16_t id) {
  c.Open.push_back(c.Bytes.size());
  PutU16(c, id);
  PutU32(c, 0);
}

static void EndChunk(ChunkBytes &c) {
  size_t start = c.Open.back();
  c.Open.pop_back();
  uint32_t length = (uint32_t)(c.Bytes.size() - start);
  for (int i = 0; i < 4; i++) c.Bytes[start + 2 + i] = (uint8_t)(length >> (8 * i));
}

static void PutColour(ChunkBytes &c, const float rgb[3]) {
  BeginChunk(c, COLOR_F);
  for (int i = 0; i < 3; i++) PutFloat(c, rgb[i]);
  EndChunk(c);
}

static void WriteMesh(ChunkBytes &c, const GenMesh &mesh) {
  BeginChunk(c, NAMED_OBJECT);
  PutName(c, mesh.Name);
  BeginChunk(c, N_TRI_OBJECT);

  BeginChunk(c, POINT_ARRAY);
  PutU16(c, (uint16_t)mesh.Points.size());
  for (const Vector3 &p : mesh.Points) PutVector(c, p);
  EndChunk(c);

  BeginChunk(c, TEX_VERTS);
  PutU16(c, (uint16_t)(mesh.TexCoords.size() / 2));
  for (float f : mesh.TexCoords) PutFloat(c, f);
  EndChunk(c);

  BeginChunk(c, FACE_ARRAY);
  PutU16(c, (uint16_t)(mesh.Faces.size() / 3));
  for (size_t i = 0; i < mesh.Faces.size(); i += 3) {
    PutU16(c, mesh.Faces[i]);
    PutU16(c, mesh.Faces[i + 1]);
    PutU16(c, mesh.Faces[i + 2]);
    PutU16(c, 7);  // all three edges visible
  }
  EndChunk(c);

  BeginChunk(c, MESH_MATRIX);
  for (const Vector3 &axis : mesh.Axes) PutVector(c, axis);
  PutVector(c, mesh.Origin);
  EndChunk(c);

  EndChunk(c);
  EndChunk(c);
}

static void WriteLight(ChunkBytes &c, const GenLight &light) {
  BeginChunk(c, NAMED_OBJECT);
  PutName(c, light.Name);
  BeginChunk(c, N_DIRECT_LIGHT);
  PutVector(c, light.Position);
  PutColour(c, light.Colour);
  EndChunk(c);
  EndChunk(c);
}

static void WriteCamera(ChunkBytes &c, const GenCamera &camera) {
  BeginChunk(c, NAMED_OBJECT);
  PutName(c, camera.Name);
  BeginChunk(c, N_CAMERA);
  PutVector(c, camera.Position);
  PutVector(c, camera.Target);
  PutFloat(c, camera.Bank);
  PutFloat(c, camera.Lens);
  EndChunk(c);
  EndChunk(c);
}

// A track: flags, eight unused bytes, the key count, then per key its frame,
// a spline-flag word of 0 (default tension, no further values) and the
// values.
static void WriteTrack(ChunkBytes &c, uint16_t id, const GenTrack &track, int values) {
  if (track.Keys.empty()) return;
  BeginChunk(c, id);
  PutU16(c, 0);
  PutU32(c, 0);
  PutU32(c, 0);
  PutU32(c, (uint32_t)track.Keys.size());
  for (const GenKey &key : track.Keys) {
    PutU32(c, (uint32_t)key.Frame);
    PutU16(c, 0);
    for (int i = 0; i < values; i++) PutFloat(c, key.Value[i]);
  }
  EndChunk(c);
}

static uint16_t NodeTag(GenNodeType type) {
  switch (type) {
  case NODE_CAMERA: return CAMERA_NODE_TAG;
  case NODE_TARGET: return TARGET_NODE_TAG;
  case NODE_LIGHT: return LIGHT_NODE_TAG;
  default: return OBJECT_NODE_TAG;
  }
}

static void WriteNode(ChunkBytes &c, const GenNode &node, uint16_t id) {
  BeginChunk(c, NodeTag(node.Type));
  BeginChunk(c, NODE_ID);
  PutU16(c, id);
  EndChunk(c);
  BeginChunk(c, NODE_HDR);
  PutName(c, node.Name);
  PutU16(c, 0);
  PutU16(c, 0);
  PutU16(c, node.Parent < 0 ? 0xFFFF : (uint16_t)node.Parent);
  EndChunk(c);
  if (!node.Instance.empty()) {
    BeginChunk(c, INSTANCE_NAME);
    PutName(c, node.Instance);
    EndChunk(c);
  }
  if (node.HasPivot) {
    BeginChunk(c, PIVOT);
    PutVector(c, node.Pivot);
    EndChunk(c);
  }
  WriteTrack(c, POS_TRACK_TAG, node.Position, 3);
  if (node.Type == NODE_OBJECT) {
    WriteTrack(c, ROT_TRACK_TAG, node.Rotation, 4);
    WriteTrack(c, SCL_TRACK_TAG, node.Scale, 3);
  }
  if (node.Type == NODE_CAMERA) {
    GenTrack fov;
    fov.Keys.push_back({0, {45.0f, 0, 0, 0}});
    WriteTrack(c, FOV_TRACK_TAG, fov, 1);
    WriteTrack(c, ROLL_TRACK_TAG, node.Roll, 1);
  }
  EndChunk(c);
}

std::vector<uint8_t> WriteSceneFile(const GenScene &scene) {
  ChunkBytes c;
  BeginChunk(c, MAIN3DS);
  BeginChunk(c, M3D_VERSION);
  PutU32(c, 3);
  EndChunk(c);

  BeginChunk(c, EDIT3DS);
  BeginChunk(c, MESH_VERSION);
  PutU32(c, 3);
  EndChunk(c);
  BeginChunk(c, MASTER_SCALE);
  PutFloat(c, 1.0f);
  EndChunk(c);
  BeginChunk(c, AMBIENT_LIGHT);
  PutColour(c, scene.Ambient);
  EndChunk(c);
  for (const GenMesh &mesh : scene.Meshes) WriteMesh(c, mesh);
  for (const GenLight &light : scene.Lights) WriteLight(c, light);
  for (const GenCamera &camera : scene.Cameras) WriteCamera(c, camera);
  EndChunk(c);

  BeginChunk(c, KFDATA);
  BeginChunk(c, KFHDR);
  PutU16(c, 5);
  PutName(c, "xmas.3ds");
  PutU32(c, (uint32_t)(scene.LastFrame - scene.FirstFrame));
  EndChunk(c);
  BeginChunk(c, KFSEG);
  PutU32(c, (uint32_t)scene.FirstFrame);
  PutU32(c, (uint32_t)scene.LastFrame);
  EndChunk(c);
  BeginChunk(c, KFCURTIME);
  PutU32(c, 0);
  EndChunk(c);
  for (size_t i = 0; i < scene.Nodes.size(); i++) WriteNode(c, scene.Nodes[i], (uint16_t)i);
  EndChunk(c);

  EndChunk(c);
  return c.Bytes;
}
