// The keyframer section of a 3DS file: one node per object, camera, camera
// target and light. Nodes create the dummy objects, rename instances, link
// each object to its parent by name, fold pivots into the mesh matrices and
// fill the position, rotation, scale and roll tracks.
#include "scene/chunk_ids.h"
#include "scene/scene_reader.h"

#include <cstdlib>
#include <vector>

struct KeyframerState {
  SceneReader *Reader;
  uint16_t NodeType;
  ShortString NodeName;
  int64_t NodeObject;  // index in Objects found by the node header, or -1
  ShortString PreviousNodeName;
  uint16_t PreviousParent;
  std::vector<uint32_t> Visited;  // ancestor-walk marks, one per object
  uint32_t Walk;
};

static const char DummyName[] = "$$$DUMMY";

// The parent of a node whose parent number is not above the previous one:
// a sibling of the previous node or of one of its ancestors. The walk up
// stops at a root, at a name that matches no object and at an object met
// twice; the node is then a root.
static void SiblingParent(KeyframerState &kf, uint16_t parent, ShortString &parentName) {
  Scene &scene = *kf.Reader->Target;
  kf.Visited.resize(scene.ObjectCount, 0);
  kf.Walk++;
  int64_t candidate = FindObject(scene, kf.PreviousNodeName);
  parentName.Length = 0;
  parentName.Text[0] = 0;
  while (candidate >= 0 && kf.Visited[candidate] != kf.Walk) {
    kf.Visited[candidate] = kf.Walk;
    const SceneObject &c = scene.Objects[candidate];
    if (c.ParentIndex == parent) {
      parentName = c.ParentName;
      return;
    }
    if (c.ParentName.Length == 0) return;
    candidate = FindObject(scene, c.ParentName);
  }
}

static void ReadNodeHeader(KeyframerState &kf) {
  Scene &scene = *kf.Reader->Target;
  DataFile &file = kf.Reader->File;
  ReadName(file, kf.NodeName);
  ReadU16(file);
  ReadU16(file);
  uint16_t parent = ReadU16(file);
  if (SameShortString(kf.NodeName, DummyName)) {
    SceneObject &dummy = NewSceneObject(*kf.Reader);
    SetShortString(dummy.Name, DummyName);
    dummy.IsDummy = true;
    dummy.Visible = false;
    scene.ObjectCount++;
  }
  kf.NodeObject = FindObject(scene, kf.NodeName);
  if (kf.NodeObject < 0) return;
  ShortString parentName{};
  if (parent == SCENE_NO_PARENT) {
    parentName.Length = 0;
  } else if (kf.PreviousParent == SCENE_NO_PARENT || parent > kf.PreviousParent) {
    parentName = kf.PreviousNodeName;
  } else {
    SiblingParent(kf, parent, parentName);
  }
  SceneObject &o = scene.Objects[kf.NodeObject];
  o.ParentIndex = parent;
  o.ParentName = parentName;
  kf.PreviousParent = parent;
  kf.PreviousNodeName = kf.NodeName;
}

static void ReadInstanceName(KeyframerState &kf) {
  ReadName(kf.Reader->File, kf.NodeName);
  if (kf.NodeObject >= 0) kf.Reader->Target->Objects[kf.NodeObject].Name = kf.NodeName;
  kf.PreviousNodeName = kf.NodeName;
}

static void ReadPivot(KeyframerState &kf) {
  Scene &scene = *kf.Reader->Target;
  DataFile &file = kf.Reader->File;
  float p[3];
  for (float &v : p) v = ReadFloat(file);
  int64_t i = FindObject(scene, kf.NodeName);
  if (i < 0) return;
  SceneObject &o = scene.Objects[i];
  o.MeshMatrix.m[12] -= p[0];
  o.MeshMatrix.m[13] -= p[1];
  o.MeshMatrix.m[14] -= p[2];
  o.MeshMatrixInverse = invertMeshMatrix(o.MeshMatrix);
}

// The vector track of the current node that a track chunk fills, or null.
static VectorTrack *OwnerVectorTrack(KeyframerState &kf, uint16_t id) {
  Scene &scene = *kf.Reader->Target;
  int64_t i;
  switch (kf.NodeType) {
    case OBJECT_NODE_TAG:
      if (id != POS_TRACK_TAG && id != SCL_TRACK_TAG) return nullptr;
      if ((i = FindObject(scene, kf.NodeName)) < 0) return nullptr;
      return id == POS_TRACK_TAG ? &scene.Objects[i].PositionTrack : &scene.Objects[i].ScaleTrack;
    case CAMERA_NODE_TAG:
      if (id != POS_TRACK_TAG && id != ROLL_TRACK_TAG) return nullptr;
      if ((i = FindCamera(scene, kf.NodeName)) < 0) return nullptr;
      return id == POS_TRACK_TAG ? &scene.Cameras[i].PositionTrack : &scene.Cameras[i].RollTrack;
    case TARGET_NODE_TAG:
      if (id != POS_TRACK_TAG || (i = FindCamera(scene, kf.NodeName)) < 0) return nullptr;
      return &scene.Cameras[i].TargetTrack;
    case LIGHT_NODE_TAG:
      if (id != POS_TRACK_TAG || (i = FindLight(scene, kf.NodeName)) < 0) return nullptr;
      return &scene.Lights[i].PositionTrack;
  }
  return nullptr;
}

// Frame, spline flags and the optional spline values of one key; returns the
// tension (0.5 unless the key gives one).
static float ReadKeyHeader(DataFile &file, int32_t &frame) {
  frame = ReadI32(file);
  uint16_t flags = ReadU16(file);
  float tension = 0.5f;
  for (int bit = 0; bit < 5; bit++) {
    if (!(flags & (1 << bit))) continue;
    float value = ReadFloat(file);
    if (bit == 0) tension = value;
  }
  return tension;
}

static void ReadVectorTrack(KeyframerState &kf, VectorTrack &track, uint32_t n, bool roll) {
  DataFile &file = kf.Reader->File;
  TrackFree(track);
  TrackInit(track, ElementsLeft(file, n, roll ? 10 : 18));
  for (uint32_t k = 0; k < track.Capacity && file.Position < file.Size; k++) {
    int32_t frame;
    float tension = ReadKeyHeader(file, frame);
    float x = ReadFloat(file), y = 0, z = 0;
    if (!roll) {
      y = ReadFloat(file);
      z = ReadFloat(file);
    }
    TrackAddKey(track, frame, tension, x, y, z);
  }
  TrackPrepare(track);
}

// Rotation keys in the file are turns relative to the previous key; the
// track holds them accumulated into absolute rotations.
static void ReadRotationTrack(KeyframerState &kf, RotationTrack &track, uint32_t n) {
  DataFile &file = kf.Reader->File;
  RotationTrackFree(track);
  RotationTrackInit(track, ElementsLeft(file, n, 22));
  Quaternion r{1, 0, 0, 0};
  for (uint32_t k = 0; k < track.Capacity && file.Position < file.Size; k++) {
    int32_t frame;
    ReadKeyHeader(file, frame);
    float angle = ReadFloat(file), x = ReadFloat(file), y = ReadFloat(file), z = ReadFloat(file);
    r = quaternionMultiply(r, quaternionFromAngleAxis(angle, x, y, z));
    RotationTrackAddKey(track, frame, r);
  }
  RotationTrackPrepare(track);
}

static void ReadTrack(KeyframerState &kf, uint16_t id) {
  DataFile &file = kf.Reader->File;
  ReadU16(file);
  uint8_t unused[8];
  ReadData(file, unused, 8);
  uint32_t n = ReadU32(file);
  if (id == ROT_TRACK_TAG) {
    if (kf.NodeType != OBJECT_NODE_TAG) return;
    int64_t i = FindObject(*kf.Reader->Target, kf.NodeName);
    if (i >= 0) ReadRotationTrack(kf, kf.Reader->Target->Objects[i].RotationTrack, n);
    return;
  }
  VectorTrack *track = OwnerVectorTrack(kf, id);
  if (track) ReadVectorTrack(kf, *track, n, id == ROLL_TRACK_TAG);
}

// The sub-chunks of one node, up to the end of the node.
static void ReadNode(KeyframerState &kf, const ChunkHeader &node) {
  DataFile &file = kf.Reader->File;
  kf.NodeType = node.Id;
  kf.NodeName.Length = 0;
  kf.NodeName.Text[0] = 0;
  kf.NodeObject = -1;
  int32_t end = WalkEnd(file, node.End);
  while (file.Position < end) {
    ChunkHeader chunk;
    if (!ReadChunkHeader(file, chunk)) return;
    switch (chunk.Id) {
      case NODE_HDR: ReadNodeHeader(kf); break;
      case INSTANCE_NAME: ReadInstanceName(kf); break;
      case PIVOT: ReadPivot(kf); break;
      case POS_TRACK_TAG:
      case ROT_TRACK_TAG:
      case SCL_TRACK_TAG:
      case ROLL_TRACK_TAG: ReadTrack(kf, chunk.Id); break;
    }
    SeekData(file, chunk.End);
  }
}

void ReadKeyframer(SceneReader &reader) {
  KeyframerState kf{};
  kf.Reader = &reader;
  kf.PreviousParent = SCENE_NO_PARENT;
  DataFile &file = reader.File;
  while (file.Position < file.Size) {
    ChunkHeader chunk;
    if (!ReadChunkHeader(file, chunk)) return;
    switch (chunk.Id) {
      case KFSEG:
        reader.Target->FirstFrame = ReadI32(file);
        reader.Target->LastFrame = ReadI32(file);
        break;
      case OBJECT_NODE_TAG:
      case CAMERA_NODE_TAG:
      case TARGET_NODE_TAG:
      case LIGHT_NODE_TAG: ReadNode(kf, chunk); break;
    }
    SeekData(file, chunk.End);
  }
}
