#include "scene/chunk.h"

#include <cstring>

static uint32_t LittleEndian(const uint8_t *b, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; i--) v = v << 8 | b[i];
  return v;
}

uint16_t ReadU16(DataFile &file) {
  uint8_t b[2];
  ReadData(file, b, 2);
  return (uint16_t)LittleEndian(b, 2);
}

uint32_t ReadU32(DataFile &file) {
  uint8_t b[4];
  ReadData(file, b, 4);
  return LittleEndian(b, 4);
}

int32_t ReadI32(DataFile &file) { return (int32_t)ReadU32(file); }

float ReadFloat(DataFile &file) {
  uint32_t bits = ReadU32(file);
  float f;
  memcpy(&f, &bits, 4);
  return f;
}

bool ReadChunkHeader(DataFile &file, ChunkHeader &chunk) {
  chunk.Start = file.Position;
  chunk.Id = ReadU16(file);
  chunk.Length = ReadU32(file);
  int64_t end = (int64_t)chunk.Start + chunk.Length;
  chunk.End = end > file.Size ? file.Size : (int32_t)end;
  return chunk.Length >= CHUNK_HEADER_SIZE;
}

int32_t WalkEnd(const DataFile &file, int32_t bound) { return bound < file.Size ? bound : file.Size; }

void ReadName(DataFile &file, ShortString &name) {
  name.Length = 0;
  name.Text[0] = 0;
  for (;;) {
    char c;
    ReadData(file, &c, 1);
    if (c == 0) return;
    AppendShortString(name, c);
  }
}

uint32_t ElementsLeft(const DataFile &file, uint32_t count, uint32_t elementSize) {
  int64_t left = (int64_t)file.Size - file.Position;
  if (left <= 0) return 0;
  int64_t fit = left / elementSize;
  return count < fit ? count : (uint32_t)fit;
}
