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

// The I/O error codes a file that cannot be read is reported with.
enum {
  IO_FILE_NOT_FOUND = 2,
  IO_ACCESS_DENIED = 5,
  IO_SHORT_READ = 100,
  IO_FILE_TOO_LARGE = 203
};
// "no such file", "access denied", "short read", "larger than 256 MiB";
// "cannot be read" for any other code.
const char *IoErrorText(int code);

// Called with the I/O error code when a file cannot be read; the show's
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
