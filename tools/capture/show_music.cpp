#include "tools/capture/show_music.h"

#include "platform/midas.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

static const size_t BLOCK_FRAMES = 4096;

// The next block of the song into block (zeros past its end).
static void MixBlock(openmpt_module *module, size_t frames, std::vector<int16_t> &block) {
  size_t done = openmpt_module_read_interleaved_stereo(module, MIDAS_OUTPUT_RATE, frames, block.data());
  std::fill(block.begin() + (long)done * 2, block.begin() + (long)frames * 2, (int16_t)0);
}

static bool Continue(bool (*keepGoing)(), char *error, int errorSize) {
  if (keepGoing()) return true;
  snprintf(error, errorSize, "interrupted");
  return false;
}

bool WriteShowMusic(const char *moduleFile, uint64_t skipFrames, uint64_t frames, FILE *out,
                    bool (*keepGoing)(), char *error, int errorSize) {
  openmpt_module *module = MidasOpenModuleFile(moduleFile);
  if (!module) {
    snprintf(error, errorSize, "%s", MIDASgetErrorMessage(MIDASgetLastError()));
    return false;
  }
  MidasRewindModule(module, 1);
  std::vector<int16_t> block(BLOCK_FRAMES * 2);
  bool ok = true;
  for (uint64_t left = skipFrames; ok && left > 0;) {
    size_t n = left < BLOCK_FRAMES ? (size_t)left : BLOCK_FRAMES;
    MixBlock(module, n, block);
    left -= n;
    ok = Continue(keepGoing, error, errorSize);
  }
  for (uint64_t left = frames; ok && left > 0;) {
    size_t n = left < BLOCK_FRAMES ? (size_t)left : BLOCK_FRAMES;
    MixBlock(module, n, block);
    left -= n;
    if (fwrite(block.data(), sizeof(int16_t) * 2, n, out) != n) {
      snprintf(error, errorSize, "cannot write the sound: %s", strerror(errno));
      ok = false;
    } else {
      ok = Continue(keepGoing, error, errorSize);
    }
  }
  openmpt_module_destroy(module);
  return ok;
}
