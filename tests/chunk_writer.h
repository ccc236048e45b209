// Builds 3DS chunk files in memory for the tests, benchmarks and fuzz seeds.
#pragma once

#include "scene/chunk_ids.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ChunkWriter {
  std::vector<uint8_t> Bytes;
  std::vector<size_t> Open;  // offsets of the headers of unfinished chunks

  void U8(uint8_t v) { Bytes.push_back(v); }
  void U16(uint16_t v) {
    U8(v & 0xFF);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void F32(float f) {
    uint32_t v;
    memcpy(&v, &f, 4);
    U32(v);
  }
  void Floats(std::initializer_list<float> values) {
    for (float f : values) F32(f);
  }
  void Name(const std::string &s) {
    for (char c : s) U8((uint8_t)c);
    U8(0);
  }
  // A chunk whose length is filled in by End.
  void Begin(uint16_t id) {
    Open.push_back(Bytes.size());
    U16(id);
    U32(0);
  }
  void End() {
    size_t start = Open.back();
    Open.pop_back();
    uint32_t length = (uint32_t)(Bytes.size() - start);
    for (int i = 0; i < 4; i++) Bytes[start + 2 + i] = (uint8_t)(length >> (8 * i));
  }
  // A chunk header with a given length, closed by nobody.
  void Header(uint16_t id, uint32_t length) {
    U16(id);
    U32(length);
  }

  // Frequent pieces of a scene file.
  void ColourF(float r, float g, float b) {
    Begin(COLOR_F);
    Floats({r, g, b});
    End();
  }
  void Points(const std::vector<float> &xyz) {
    Begin(POINT_ARRAY);
    U16((uint16_t)(xyz.size() / 3));
    for (float f : xyz) F32(f);
    End();
  }
  void FaceList(const std::vector<uint16_t> &abc, uint16_t flags = 7) {
    Begin(FACE_ARRAY);
    U16((uint16_t)(abc.size() / 3));
    for (size_t i = 0; i < abc.size(); i += 3) {
      U16(abc[i]);
      U16(abc[i + 1]);
      U16(abc[i + 2]);
      U16(flags);
    }
    End();
  }
  void MeshMatrix(std::initializer_list<float> twelve) {
    Begin(MESH_MATRIX);
    Floats(twelve);
    End();
  }
  void NodeHeader(const std::string &name, uint16_t parent) {
    Begin(NODE_HDR);
    Name(name);
    U16(0);
    U16(0);
    U16(parent);
    End();
  }
  // A track chunk header: flags, 8 unused bytes, key count.
  void TrackHeader(uint16_t id, uint32_t keys) {
    Begin(id);
    U16(0);
    U32(0);
    U32(0);
    U32(keys);
  }
};
