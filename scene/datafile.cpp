#include "scene/datafile.h"

#include "core/exit_list.h"
#include "core/slash_path.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

enum {
  MAX_DATA_FILE = 256 * 1024 * 1024,
  MAX_NAME = 255
};

DataBufferRecord DataBuffer;

static void ShowDataError(int code, const char *) { RunTimeError(code); }
DataErrorHandler DataError = ShowDataError;

const char *IoErrorText(int code) {
  switch (code) {
  case IO_FILE_NOT_FOUND: return "no such file";
  case IO_ACCESS_DENIED: return "access denied";
  case IO_SHORT_READ: return "short read";
  case IO_FILE_TOO_LARGE: return "larger than 256 MiB";
  default: return "cannot be read";
  }
}

void DataFileName(const char *fileName, char *out, int outSize) {
  SlashPath(fileName, out, outSize < MAX_NAME + 1 ? outSize : MAX_NAME + 1);
}

static int32_t SlotBase(int slot) { return slot ? DATA_HALF : 0; }

// Chooses the slot for a new file, as the two-halves rule says, and fills it.
static DataSlot &TakeSlot(DataFile &file, int32_t length) {
  int slot = DataBuffer.SlotABusy ? 1 : 0;
  DataSlot &s = DataBuffer.Slots[slot];
  s.Bytes.assign((size_t)length, 0);
  s.Generation++;
  file.Slot = slot;
  file.Generation = s.Generation;
  file.Position = SlotBase(slot);
  file.Size = SlotBase(slot) + length;
  DataBuffer.SlotBBusy = slot == 1;
  DataBuffer.SlotABusy = true;
  return s;
}

static void FailOpen(DataFile &file, int code, const char *name) {
  file = DataFile{0, 0, 0, 0};
  DataError(code, name);
}

void OpenDataFile(DataFile &file, const char *fileName) {
  char name[MAX_NAME + 1];
  DataFileName(fileName, name, sizeof name);
  int fd = open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    FailOpen(file, errno == ENOENT || errno == ENOTDIR ? IO_FILE_NOT_FOUND : IO_ACCESS_DENIED, name);
    return;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    FailOpen(file, IO_ACCESS_DENIED, name);
    return;
  }
  if (info.st_size > MAX_DATA_FILE) {
    close(fd);
    FailOpen(file, IO_FILE_TOO_LARGE, name);
    return;
  }
  int32_t length = (int32_t)info.st_size;
  DataSlot &slot = TakeSlot(file, length);
  int32_t got = 0;
  while (got < length) {
    ssize_t n = read(fd, slot.Bytes.data() + got, (size_t)(length - got));
    if (n <= 0) break;
    got += (int32_t)n;
  }
  close(fd);
  if (got < length) DataError(IO_SHORT_READ, name);
}

void OpenDataMemory(DataFile &file, const void *bytes, int32_t length) {
  if (length < 0) length = 0;
  DataSlot &slot = TakeSlot(file, length);
  if (length > 0) memcpy(slot.Bytes.data(), bytes, (size_t)length);
}

void ReadData(DataFile &file, void *destination, int32_t count) {
  if (count <= 0) return;
  uint8_t *out = (uint8_t *)destination;
  memset(out, 0, (size_t)count);
  const DataSlot &slot = DataBuffer.Slots[file.Slot & 1];
  if (slot.Generation == file.Generation) {
    int64_t start = (int64_t)file.Position - SlotBase(file.Slot & 1);
    int64_t end = start + count;
    int64_t from = start < 0 ? 0 : start;
    int64_t to = end > (int64_t)slot.Bytes.size() ? (int64_t)slot.Bytes.size() : end;
    if (from < to) memcpy(out + (from - start), slot.Bytes.data() + from, (size_t)(to - from));
  }
  int64_t next = (int64_t)file.Position + count;
  file.Position = next > INT32_MAX ? INT32_MAX : (int32_t)next;
}

void SeekData(DataFile &file, int32_t position) { file.Position = position; }

void CloseDataFile(DataFile &) {
  if (DataBuffer.SlotBBusy) DataBuffer.SlotBBusy = false;
  else DataBuffer.SlotABusy = false;
}
