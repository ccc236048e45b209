#include "tools/common/mod_file.h"

#include <cstring>

const uint16_t ModPeriods[MOD_NOTES] = {
  856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
  428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
  214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113,
};

int ModNoteOfPeriod(uint16_t period) {
  for (int note = 0; note < MOD_NOTES; note++) {
    if (ModPeriods[note] == period) return note;
  }
  return -1;
}

std::string ModNoteName(int note) {
  static const char *const names[12] = {"C-", "C#", "D-", "D#", "E-", "F-",
                                        "F#", "G-", "G#", "A-", "A#", "B-"};
  if (note < 0 || note >= MOD_NOTES) return "???";
  return std::string(names[note % 12]) + char('1' + note / 12);
}

static void PutText(std::vector<uint8_t> &bytes, const std::string &text, size_t width) {
  for (size_t i = 0; i < width; i++) bytes.push_back(i < text.size() ? (uint8_t)text[i] : 0);
}

static void PutWord(std::vector<uint8_t> &bytes, uint32_t value) {
  bytes.push_back((uint8_t)(value >> 8));
  bytes.push_back((uint8_t)value);
}

static bool CheckSample(const ModSample &sample, int index, std::string &error) {
  const char *fault = nullptr;
  size_t length = sample.Data.size();
  if (sample.Name.size() > 22) fault = "name longer than 22 characters";
  else if (length > MOD_MAX_SAMPLE_BYTES) fault = "longer than 131070 bytes";
  else if (length % 2) fault = "odd length";
  else if (sample.Finetune > 15) fault = "finetune outside 0..15";
  else if (sample.Volume > 64) fault = "volume above 64";
  else if (sample.LoopStart % 2 || sample.LoopLength % 2) fault = "odd loop bounds";
  else if (sample.LoopLength && (sample.LoopStart > length || sample.LoopLength > length - sample.LoopStart)) {
    fault = "loop beyond the sample's end";
  }
  if (fault) error = "sample " + std::to_string(index + 1) + ": " + fault;
  return fault == nullptr;
}

static bool CheckMod(const ModFile &mod, std::string &error) {
  if (mod.Title.size() > 20) { error = "title longer than 20 characters"; return false; }
  for (int i = 0; i < MOD_SAMPLES; i++) {
    if (!CheckSample(mod.Samples[i], i, error)) return false;
  }
  if (mod.SongLength < 1 || mod.SongLength > MOD_ORDERS) { error = "song length outside 1..128"; return false; }
  if (mod.Patterns.empty() || mod.Patterns.size() > MOD_MAX_PATTERNS) { error = "pattern count outside 1..64"; return false; }
  for (int i = 0; i < MOD_ORDERS; i++) {
    if (mod.Orders[i] >= mod.Patterns.size()) { error = "order " + std::to_string(i) + " names a missing pattern"; return false; }
  }
  for (size_t p = 0; p < mod.Patterns.size(); p++) {
    for (int row = 0; row < MOD_ROWS; row++) {
      for (int channel = 0; channel < MOD_CHANNELS; channel++) {
        const ModCell &cell = mod.Patterns[p].Cells[row][channel];
        if (cell.Sample > MOD_SAMPLES || cell.Period > 0xfff || cell.Effect > 15) {
          error = "pattern " + std::to_string(p) + " row " + std::to_string(row) + ": cell out of range";
          return false;
        }
      }
    }
  }
  return true;
}

bool WriteModBytes(const ModFile &mod, std::vector<uint8_t> &bytes, std::string &error) {
  if (!CheckMod(mod, error)) return false;
  bytes.clear();
  PutText(bytes, mod.Title, 20);
  for (const ModSample &sample : mod.Samples) {
    PutText(bytes, sample.Name, 22);
    PutWord(bytes, (uint32_t)sample.Data.size() / 2);
    bytes.push_back(sample.Finetune);
    bytes.push_back(sample.Volume);
    PutWord(bytes, sample.LoopLength ? sample.LoopStart / 2 : 0);
    PutWord(bytes, sample.LoopLength ? sample.LoopLength / 2 : 1);
  }
  bytes.push_back(mod.SongLength);
  bytes.push_back(mod.Restart);
  bytes.insert(bytes.end(), mod.Orders, mod.Orders + MOD_ORDERS);
  PutText(bytes, "M.K.", 4);
  for (const ModPattern &pattern : mod.Patterns) {
    for (int row = 0; row < MOD_ROWS; row++) {
      for (const ModCell &cell : pattern.Cells[row]) {
        bytes.push_back((uint8_t)((cell.Sample & 0xf0) | (cell.Period >> 8)));
        bytes.push_back((uint8_t)cell.Period);
        bytes.push_back((uint8_t)(((cell.Sample & 0x0f) << 4) | cell.Effect));
        bytes.push_back(cell.Param);
      }
    }
  }
  for (const ModSample &sample : mod.Samples) {
    for (int8_t value : sample.Data) bytes.push_back((uint8_t)value);
  }
  return true;
}

static uint32_t GetWord(const uint8_t *at) { return (uint32_t)at[0] << 8 | at[1]; }

static std::string GetText(const uint8_t *at, size_t width) {
  size_t length = 0;
  while (length < width && at[length]) length++;
  return std::string((const char *)at, length);
}

static void ReadSampleHeader(const uint8_t *at, ModSample &sample) {
  sample.Name = GetText(at, 22);
  sample.Data.clear();
  sample.Finetune = at[24] & 0x0f;
  sample.Volume = at[25] > 64 ? 64 : at[25];
  sample.LoopStart = GetWord(at + 26) * 2;
  sample.LoopLength = GetWord(at + 28) * 2;
  if (sample.LoopLength <= 2) sample.LoopStart = sample.LoopLength = 0;
}

// Keeps a loop inside the data that were actually read.
static void ClampLoop(ModSample &sample) {
  uint32_t length = (uint32_t)sample.Data.size();
  if (sample.LoopStart >= length) { sample.LoopStart = sample.LoopLength = 0; return; }
  if (sample.LoopLength > length - sample.LoopStart) sample.LoopLength = (length - sample.LoopStart) & ~1u;
  if (sample.LoopLength <= 2) sample.LoopStart = sample.LoopLength = 0;
}

bool ReadModBytes(const uint8_t *bytes, size_t size, ModFile &mod, std::string &error) {
  if (size < MOD_HEADER_BYTES) { error = "too short for a module header"; return false; }
  const uint8_t *tag = bytes + 1080;
  if (memcmp(tag, "M.K.", 4) && memcmp(tag, "M!K!", 4) && memcmp(tag, "4CHN", 4) && memcmp(tag, "FLT4", 4)) {
    error = "not a four-channel 31-sample module";
    return false;
  }
  mod.Title = GetText(bytes, 20);
  uint32_t sampleLengths[MOD_SAMPLES];
  for (int i = 0; i < MOD_SAMPLES; i++) {
    const uint8_t *header = bytes + 20 + 30 * i;
    ReadSampleHeader(header, mod.Samples[i]);
    sampleLengths[i] = GetWord(header + 22) * 2;
  }
  mod.SongLength = bytes[950];
  mod.Restart = bytes[951];
  if (mod.SongLength < 1 || mod.SongLength > MOD_ORDERS) { error = "song length outside 1..128"; return false; }
  memcpy(mod.Orders, bytes + 952, MOD_ORDERS);
  size_t patternCount = 0;
  for (uint8_t order : mod.Orders) {
    if (order >= 128) { error = "order names pattern " + std::to_string(order); return false; }
    if (order + 1u > patternCount) patternCount = order + 1u;
  }
  if ((size - MOD_HEADER_BYTES) / MOD_PATTERN_BYTES < patternCount) { error = "pattern data cut off"; return false; }
  mod.Patterns.assign(patternCount, ModPattern{});
  const uint8_t *at = bytes + MOD_HEADER_BYTES;
  for (ModPattern &pattern : mod.Patterns) {
    for (int row = 0; row < MOD_ROWS; row++) {
      for (ModCell &cell : pattern.Cells[row]) {
        cell.Sample = (uint8_t)((at[0] & 0xf0) | (at[2] >> 4));
        cell.Period = (uint16_t)((at[0] & 0x0f) << 8 | at[1]);
        cell.Effect = at[2] & 0x0f;
        cell.Param = at[3];
        at += 4;
      }
    }
  }
  size_t offset = MOD_HEADER_BYTES + patternCount * MOD_PATTERN_BYTES;
  for (int i = 0; i < MOD_SAMPLES; i++) {
    ModSample &sample = mod.Samples[i];
    size_t available = size - offset;
    size_t length = sampleLengths[i] < available ? sampleLengths[i] : available & ~(size_t)1;
    sample.Data.assign((const int8_t *)bytes + offset, (const int8_t *)bytes + offset + length);
    offset += length;
    ClampLoop(sample);
  }
  return true;
}
