// The instruments, synthesised as 8-bit samples. A tonal sample is built for
// the rate at which C-2 plays (Amiga clock / 428 = 8287 Hz) so that C-2
// sounds its base pitch; every sustaining sample loops over a whole number of
// cycles of every partial, so the loop joins without a step. The noise comes
// from a fixed-seed generator and the output is byte-for-byte repeatable.
#include "tools/modgen/modgen.h"

#include <cmath>
#include <vector>

struct Wave {
  std::vector<double> Values;
  size_t LoopStart;
  size_t LoopLength;  // 0 = one-shot
};

struct LoopFit {
  int Cycles;
  int Length;  // even
};

struct Noise {
  uint32_t State;
};

static const double PI = 3.14159265358979323846;
static const double AMIGA_CLOCK = 3546895.0;

static double NoteRate(int note) { return AMIGA_CLOCK / ModPeriods[note]; }

static double PitchHz(int midiPitch) { return 440.0 * std::pow(2.0, (midiPitch - 69) / 12.0); }

// A uniform value in -1..1.
static double NextNoise(Noise &noise) {
  uint32_t x = noise.State;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  noise.State = x;
  return (double)x / 2147483648.0 - 1.0;
}

// The even loop length holding a whole number of cycles of the given period
// that comes closest in pitch, between the two lengths.
static LoopFit FitLoop(double period, int minLength, int maxLength) {
  LoopFit best = {0, 0};
  double bestCents = 1e9;
  for (int cycles = 1; cycles * period <= maxLength + 1; cycles++) {
    int length = 2 * (int)std::lround(cycles * period / 2);
    if (length < minLength || length > maxLength) continue;
    double cents = std::fabs(1200.0 * std::log2(cycles * period / length));
    if (cents < bestCents - 1e-9) {
      bestCents = cents;
      best = {cycles, length};
    }
  }
  return best;
}

static double SmoothStep(double x) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  return x * x * (3 - 2 * x);
}

// Scales the wave to the 8-bit range and stores it with its loop.
static void StoreWave(ModSample &sample, const char *name, Wave &wave, uint8_t volume) {
  if (wave.Values.size() % 2) wave.Values.push_back(0);
  double peak = 1e-9;
  for (double v : wave.Values) peak = std::fmax(peak, std::fabs(v));
  sample.Name = name;
  sample.Finetune = 0;
  sample.Volume = volume;
  sample.LoopStart = (uint32_t)wave.LoopStart;
  sample.LoopLength = (uint32_t)wave.LoopLength;
  sample.Data.resize(wave.Values.size());
  for (size_t i = 0; i < wave.Values.size(); i++) {
    long value = std::lround(wave.Values[i] / peak * 126.0);
    sample.Data[i] = (int8_t)(value > 127 ? 127 : value < -127 ? -127 : value);
  }
  // The first word is what a one-shot sample repeats after its end.
  sample.Data[0] = sample.Data[1] = 0;
}

// Fades the last part of a one-shot sound to silence.
static void FadeTail(Wave &wave, double share) {
  size_t count = wave.Values.size();
  size_t fade = (size_t)(count * share);
  for (size_t i = 0; i < fade; i++) wave.Values[count - 1 - i] *= SmoothStep((double)i / fade);
}

// A struck bell: a strong fundamental with a few quicker partials, some of
// them inharmonic like a metal bar's. One-shot.
static Wave MakeBell(int basePitch) {
  struct Partial { double Ratio, Amplitude, Decay; };
  static const Partial partials[] = {
    {1.0, 1.0, 0.9}, {2.0, 0.22, 0.45}, {2.76, 0.30, 0.22}, {4.0, 0.08, 0.2},
    {5.40, 0.14, 0.08}, {8.93, 0.05, 0.035},
  };
  double rate = NoteRate(NOTE_C2);
  double hz = PitchHz(basePitch);
  Wave wave = {std::vector<double>((size_t)(1.8 * rate)), 0, 0};
  for (size_t i = 0; i < wave.Values.size(); i++) {
    double t = i / rate;
    double value = 0;
    for (const Partial &p : partials) value += p.Amplitude * std::exp(-t / p.Decay) * std::sin(2 * PI * p.Ratio * hz * t);
    wave.Values[i] = value * SmoothStep(t / 0.002);
  }
  FadeTail(wave, 0.2);
  return wave;
}

// A soft flute-like lead: a few low harmonics, a breathy onset, and a loop
// that sustains the tone.
static Wave MakeFlute(int basePitch) {
  static const double harmonics[] = {1.0, 0.32, 0.16, 0.07, 0.03};
  double rate = NoteRate(NOTE_C2);
  LoopFit fit = FitLoop(rate / PitchHz(basePitch), 1500, 4000);
  size_t attack = 800;
  Wave wave = {std::vector<double>(attack + fit.Length), attack, (size_t)fit.Length};
  Noise noise = {0x1f2e3d4c};
  double breath = 0;
  for (size_t i = 0; i < wave.Values.size(); i++) {
    double phase = 2 * PI * fit.Cycles * (double)(i % fit.Length) / fit.Length;
    double value = 0;
    for (int h = 0; h < 5; h++) value += harmonics[h] * std::sin((h + 1) * phase + 0.3 * h);
    double t = (double)i / attack;
    breath = 0.7 * breath + 0.3 * NextNoise(noise);
    double chiff = i < attack ? 0.25 * breath * (1 - t) * (1 - t) : 0;
    wave.Values[i] = value * SmoothStep(t * 2.5) + chiff * SmoothStep(t * 20);
  }
  return wave;
}

// A string pad: three slightly detuned sawtooth voices with softened upper
// harmonics; the detuning beats slowly inside one long loop.
static Wave MakePad(int basePitch) {
  double rate = NoteRate(NOTE_C2);
  double period = rate / PitchHz(basePitch);
  LoopFit fit = FitLoop(period, 11000, 14000);
  size_t attack = 2400;
  Wave wave = {std::vector<double>(attack + fit.Length, 0.0), attack, (size_t)fit.Length};
  Noise noise = {0x51a7e5};
  const int detune[3] = {-1, 0, 1};
  for (int voice = 0; voice < 3; voice++) {
    int cycles = fit.Cycles + detune[voice];
    for (int h = 1; h * cycles < 0.42 * fit.Length; h++) {
      double amplitude = 1.0 / h / (1.0 + (h / 5.0) * (h / 5.0));
      double offset = PI * (NextNoise(noise) + 1);
      for (size_t i = 0; i < wave.Values.size(); i++) {
        double phase = 2 * PI * (double)h * cycles * (double)(i % fit.Length) / fit.Length;
        wave.Values[i] += amplitude * std::sin(phase + offset);
      }
    }
  }
  for (size_t i = 0; i < attack; i++) wave.Values[i] *= SmoothStep((double)i / attack);
  return wave;
}

// A plucked bass: bright at the onset, settling into a rounder tone that the
// loop sustains.
static Wave MakeBass(int basePitch) {
  static const double attackLevels[] = {1.0, 0.8, 0.6, 0.45, 0.35, 0.25, 0.18, 0.12};
  static const double sustainLevels[] = {1.0, 0.45, 0.22, 0.1, 0.05, 0.03, 0.0, 0.0};
  double rate = NoteRate(NOTE_C2);
  LoopFit fit = FitLoop(rate / PitchHz(basePitch), 1000, 3000);
  size_t attack = (size_t)(0.75 * rate) & ~(size_t)1;
  Wave wave = {std::vector<double>(attack + fit.Length), attack, (size_t)fit.Length};
  for (size_t i = 0; i < wave.Values.size(); i++) {
    double t = (double)(i < attack ? i : attack) / rate;
    double phase = 2 * PI * fit.Cycles * (double)(i % fit.Length) / fit.Length;
    double value = 0;
    for (int h = 0; h < 8; h++) {
      double fade = std::exp(-t / (0.12 / std::sqrt(h + 1.0)));
      double level = sustainLevels[h] + (attackLevels[h] - sustainLevels[h]) * fade;
      value += level * std::sin((h + 1) * phase);
    }
    double body = 0.6 + 0.4 * std::exp(-t / 0.15);
    wave.Values[i] = value * body * SmoothStep(i / rate / 0.003);
  }
  return wave;
}

// A kick drum: a sine sweeping down from about 150 Hz to 48 Hz.
static Wave MakeKick() {
  double rate = NoteRate(NOTE_C2);
  Wave wave = {std::vector<double>((size_t)(0.32 * rate)), 0, 0};
  double phase = 0;
  for (size_t i = 0; i < wave.Values.size(); i++) {
    double t = i / rate;
    phase += 2 * PI * (48 + 100 * std::exp(-t / 0.035)) / rate;
    double click = 0.3 * std::exp(-t / 0.004) * std::sin(3 * phase);
    wave.Values[i] = (std::sin(phase) + click) * std::exp(-t / 0.16) * SmoothStep(t / 0.001);
  }
  FadeTail(wave, 0.25);
  return wave;
}

// A snare: a short two-tone body under brighter noise. Played at C-3.
static Wave MakeSnare() {
  double rate = NoteRate(NOTE_C3);
  Wave wave = {std::vector<double>((size_t)(0.25 * rate)), 0, 0};
  Noise noise = {0x5eed0001};
  double last = 0, high = 0;
  for (size_t i = 0; i < wave.Values.size(); i++) {
    double t = i / rate;
    double white = NextNoise(noise);
    high = 0.85 * (high + white - last);
    last = white;
    double body = (std::sin(2 * PI * 190 * t) + 0.5 * std::sin(2 * PI * 330 * t)) * std::exp(-t / 0.05);
    wave.Values[i] = (0.45 * body + 0.8 * high * std::exp(-t / 0.08)) * SmoothStep(t / 0.001);
  }
  FadeTail(wave, 0.3);
  return wave;
}

// A closed hi-hat: high-passed noise with a very short decay. Played at C-3.
static Wave MakeHat() {
  double rate = NoteRate(NOTE_C3);
  Wave wave = {std::vector<double>((size_t)(0.09 * rate)), 0, 0};
  Noise noise = {0x4a7b1c2d};
  double last = 0, high1 = 0, last1 = 0, high2 = 0;
  for (size_t i = 0; i < wave.Values.size(); i++) {
    double t = i / rate;
    double white = NextNoise(noise);
    high1 = 0.6 * (high1 + white - last);
    last = white;
    high2 = 0.6 * (high2 + high1 - last1);
    last1 = high1;
    wave.Values[i] = high2 * std::exp(-t / 0.018) * SmoothStep(t / 0.0005);
  }
  FadeTail(wave, 0.3);
  return wave;
}

// Sleigh bells: a quick shake of small jingles, each a few high partials
// with a tick of noise at its onset. Played at C-3.
static Wave MakeSleighBells() {
  double rate = NoteRate(NOTE_C3);
  Wave wave = {std::vector<double>((size_t)(0.4 * rate), 0.0), 0, 0};
  Noise noise = {0x0b311e5};
  for (int jingle = 0; jingle < 14; jingle++) {
    double start = 0.004 * jingle + 0.003 * (NextNoise(noise) + 1);
    double amplitude = 0.5 + 0.25 * (NextNoise(noise) + 1);
    double decay = 0.05 + 0.02 * (NextNoise(noise) + 1);
    double tones[3];
    for (double &tone : tones) tone = 4700 + 1400 * NextNoise(noise);
    size_t first = (size_t)(start * rate);
    for (size_t i = first; i < wave.Values.size(); i++) {
      double t = (i - first) / rate;
      double value = 0;
      for (int k = 0; k < 3; k++) value += std::sin(2 * PI * tones[k] * t + k) / (k + 1);
      value += 0.6 * NextNoise(noise) * std::exp(-t / 0.004);
      wave.Values[i] += amplitude * value * std::exp(-t / decay) * SmoothStep(t / 0.0004);
    }
  }
  FadeTail(wave, 0.3);
  return wave;
}

int SampleBasePitch(int sample) {
  switch (sample) {
    case SAMPLE_BELL: return 60;   // C-2 sounds middle C
    case SAMPLE_FLUTE: return 60;
    case SAMPLE_PAD: return 48;
    case SAMPLE_BASS: return 36;
    default: return -1;
  }
}

int DrumNote(int sample) { return sample == SAMPLE_KICK ? NOTE_C2 : NOTE_C3; }

void SynthesizeSamples(ModFile &mod) {
  struct Made { int Slot; const char *Name; Wave Sound; uint8_t Volume; };
  Made made[] = {
    {SAMPLE_BELL, "bell", MakeBell(SampleBasePitch(SAMPLE_BELL)), 56},
    {SAMPLE_FLUTE, "flute", MakeFlute(SampleBasePitch(SAMPLE_FLUTE)), 36},
    {SAMPLE_PAD, "strings", MakePad(SampleBasePitch(SAMPLE_PAD)), 28},
    {SAMPLE_BASS, "bass", MakeBass(SampleBasePitch(SAMPLE_BASS)), 52},
    {SAMPLE_KICK, "kick", MakeKick(), 64},
    {SAMPLE_SNARE, "snare", MakeSnare(), 48},
    {SAMPLE_HAT, "hi-hat", MakeHat(), 32},
    {SAMPLE_SLEIGH, "sleigh bells", MakeSleighBells(), 32},
  };
  for (Made &m : made) StoreWave(mod.Samples[m.Slot - 1], m.Name, m.Sound, m.Volume);
}
