// Identifiers of the 3DS chunks the scene reads, shared by the loader, the
// keyframer reader, the scene generator, the tests and the benchmarks.
#pragma once

enum {
  // Editor section
  MAIN3DS = 0x4D4D,
  EDIT3DS = 0x3D3D,
  AMBIENT_LIGHT = 0x2100,
  NAMED_OBJECT = 0x4000,
  NAMED_OBJECT_END = 0x5000,
  N_TRI_OBJECT = 0x4100,
  MESH_END = 0x4200,
  POINT_ARRAY = 0x4110,
  FACE_ARRAY = 0x4120,
  TEX_VERTS = 0x4140,
  MESH_MATRIX = 0x4160,
  N_DIRECT_LIGHT = 0x4600,
  N_CAMERA = 0x4700,
  COLOR_F = 0x0010,
  LIN_COLOR_F = 0x0013,
  // Keyframer section
  KFDATA = 0xB000,
  KFSEG = 0xB008,
  OBJECT_NODE_TAG = 0xB002,
  CAMERA_NODE_TAG = 0xB003,
  TARGET_NODE_TAG = 0xB004,
  LIGHT_NODE_TAG = 0xB005,
  NODE_HDR = 0xB010,
  INSTANCE_NAME = 0xB011,
  PIVOT = 0xB013,
  POS_TRACK_TAG = 0xB020,
  ROT_TRACK_TAG = 0xB021,
  SCL_TRACK_TAG = 0xB022,
  ROLL_TRACK_TAG = 0xB024
};
