// Reading 3DS chunks from a data file: headers, little-endian fields and
// zero-terminated names.
#pragma once

#include "core/short_string.h"
#include "scene/datafile.h"

#include <cstdint>

enum { CHUNK_HEADER_SIZE = 6 };

struct ChunkHeader {
  uint16_t Id;
  uint32_t Length;  // counts the header itself
  int32_t Start;    // buffer offset of the header
  int32_t End;      // Start + Length, held inside the file
};

// Reads the header at the current position. False when its length is too
// small to hold the header itself: such a chunk would never be left, so the
// walk that met it ends.
bool ReadChunkHeader(DataFile &file, ChunkHeader &chunk);
// The smaller of the walk's bound and the file's end.
int32_t WalkEnd(const DataFile &file, int32_t bound);

uint16_t ReadU16(DataFile &file);
uint32_t ReadU32(DataFile &file);
int32_t ReadI32(DataFile &file);
float ReadFloat(DataFile &file);
// Bytes up to and including a zero byte; those beyond the 255th are dropped.
void ReadName(DataFile &file, ShortString &name);
// How many elements of the given size the rest of the file can hold.
uint32_t ElementsLeft(const DataFile &file, uint32_t count, uint32_t elementSize);
