// The data-file reader: a file is read whole when it is opened; reads are
// then memory copies at a position the caller may save and restore.
//
// Offsets are buffer offsets: the first open file starts at 0, a second one
// opened while the first is still open starts at DATA_HALF. Position < Size is
// the callers' end-of-data test. Each file gets a buffer of its own size;
// reads outside the file deliver zeros.
#pragma once

#include <cstdint>
#include <vector>

enum { DATA_HALF = 524288 };

struct DataFile {
  int32_t Size;      // buffer offset one past the last byte
  int32_t Position;  // buffer offset of the next byte to read
  int32_t Slot;      // 0 lower half, 1 upper half
  uint32_t Generation;  // which open of that slot this handle belongs to
};

struct DataSlot {
  std::vector<uint8_t> Bytes;
  uint32_t Generation;
};

struct DataBufferRecord {
  DataSlot Slots[2];
  bool SlotABusy;
  bool SlotBBusy;
};

extern DataBufferRecord DataBuffer;

// Called with the I/O error code (2 not found, 5 access denied, 100 short
// read, 203 larger than 256 MiB) when a file cannot be read; the show's
// handler is RunTimeError and does not return. Tools install their own.
typedef void (*DataErrorHandler)(int code, const char *fileName);
extern DataErrorHandler DataError;

// Opens a file by a name that may use '\' as separator. On failure DataError
// is called; if it returns, file is left empty (Position == Size).
void OpenDataFile(DataFile &file, const char *fileName);
// Opens bytes held in memory as if they were a file (tests and fuzzing).
void OpenDataMemory(DataFile &file, const void *bytes, int32_t length);
void ReadData(DataFile &file, void *destination, int32_t count);
void SeekData(DataFile &file, int32_t position);
void CloseDataFile(DataFile &file);

// The name with '\' mapped to '/', cut to 255 characters.
void DataFileName(const char *fileName, char *out, int outSize);
