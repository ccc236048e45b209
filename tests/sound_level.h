// Levels of 16-bit sound for the music tests: a direct libopenmpt render to
// compare the library's output with, silence trimming and RMS in dBFS.
#pragma once

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <cstdint>
#include <vector>

// Renders FRAMES stereo frames of a module the way the show's library mixes
// it (repeating, no dither); empty when the module does not load.
inline std::vector<int16_t> RenderModule(const std::vector<uint8_t> &bytes, int rate, size_t frames) {
  openmpt_module *module = openmpt_module_create_from_memory2(
      bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr);
  if (!module) return {};
  openmpt_module_ctl_set_integer(module, "dither", 0);
  openmpt_module_set_repeat_count(module, -1);
  std::vector<int16_t> samples(frames * 2);
  size_t done = 0;
  while (done < frames) {
    size_t got = openmpt_module_read_interleaved_stereo(module, rate, frames - done, samples.data() + done * 2);
    if (got == 0) break;
    done += got;
  }
  openmpt_module_destroy(module);
  samples.resize(done * 2);
  return samples;
}

// Drops the silent frames at both ends of interleaved stereo sound.
inline std::vector<int16_t> TrimSilence(const std::vector<int16_t> &samples) {
  size_t frames = samples.size() / 2, first = 0, last = frames;
  while (first < frames && samples[first * 2] == 0 && samples[first * 2 + 1] == 0) first++;
  while (last > first && samples[last * 2 - 2] == 0 && samples[last * 2 - 1] == 0) last--;
  return std::vector<int16_t>(samples.begin() + (long)first * 2, samples.begin() + (long)last * 2);
}

// RMS level relative to full scale; -200 for silence.
inline double RmsDb(const std::vector<int16_t> &samples) {
  if (samples.empty()) return -200.0;
  double sum = 0.0;
  for (int16_t s : samples) sum += (double)s * s;
  double rms = std::sqrt(sum / (double)samples.size()) / 32768.0;
  return rms > 0.0 ? 20.0 * std::log10(rms) : -200.0;
}
