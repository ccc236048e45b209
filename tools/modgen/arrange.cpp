// Turns the score into pattern rows, four channels wide: melody, chords as
// a string pad with the arpeggio effect, bass, drums. A row is a sixteenth
// note and a 64-row pattern four bars; speed and tempo are set on the first
// row. Equal patterns are stored once and named again in the order list;
// the last row jumps back to the first position so the song loops seamlessly.
#include "tools/modgen/modgen.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

enum { ROWS_PER_BAR = 16, ROWS_PER_BEAT = 4, BARS_PER_PATTERN = MOD_ROWS / ROWS_PER_BAR };
enum ChordQuality { CHORD_MAJOR, CHORD_MINOR, CHORD_SEVENTH };
enum { EFFECT_ARPEGGIO = 0x0, EFFECT_VIBRATO = 0x4, EFFECT_JUMP = 0xB, EFFECT_VOLUME = 0xC, EFFECT_SPEED = 0xF };

struct MelodyNote {
  int Pitch;  // MIDI pitch, -1 rest
  int Rows;
};

struct Chord {
  int Root;  // pitch class 0..11
  int Quality;
};

struct SongRow {
  std::array<ModCell, MOD_CHANNELS> Cells;
};

struct Song {
  std::vector<SongRow> Rows;
  std::string Error;
};

static int PitchClass(char letter) {
  static const char letters[] = "CDEFGAB";
  static const int classes[] = {0, 2, 4, 5, 7, 9, 11};
  const char *at = strchr(letters, letter);
  return at && letter ? classes[at - letters] : -1;
}

// "F#4" -> 66; returns false for anything else.
static bool ParsePitch(const std::string &text, int &pitch) {
  if (text.size() < 2 || text.size() > 3) return false;
  int pitchClass = PitchClass(text[0]);
  if (pitchClass < 0) return false;
  size_t at = 1;
  if (text[at] == '#') pitchClass++, at++;
  else if (text[at] == 'b') pitchClass--, at++;
  if (at + 1 != text.size() || text[at] < '0' || text[at] > '8') return false;
  pitch = 12 * (text[at] - '0' + 1) + pitchClass;
  return true;
}

static std::vector<std::string> Words(const char *text) {
  std::vector<std::string> words;
  std::string word;
  for (const char *c = text;; c++) {
    if (*c == ' ' || *c == 0) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*c == 0) break;
    } else {
      word += *c;
    }
  }
  return words;
}

// Reads "PITCH:ROWS" tokens; every bar must hold exactly 16 rows.
static bool ParseMelody(const char *text, std::vector<MelodyNote> &notes, int &bars, std::string &error) {
  int barRows = 0;
  bars = 0;
  std::vector<std::string> words = Words(text);
  words.push_back("|");
  for (const std::string &word : words) {
    if (word == "|") {
      if (barRows != ROWS_PER_BAR) { error = "melody bar " + std::to_string(bars + 1) + " holds " + std::to_string(barRows) + " rows"; return false; }
      bars++, barRows = 0;
      continue;
    }
    size_t colon = word.find(':');
    MelodyNote note = {-1, 0};
    if (colon == std::string::npos || (word.substr(0, colon) != "r" && !ParsePitch(word.substr(0, colon), note.Pitch))) {
      error = "bad melody note \"" + word + "\"";
      return false;
    }
    note.Rows = atoi(word.c_str() + colon + 1);
    if (note.Rows < 1 || note.Rows > ROWS_PER_BAR) { error = "bad length in \"" + word + "\""; return false; }
    notes.push_back(note);
    barRows += note.Rows;
  }
  return true;
}

// Reads one chord symbol per beat, four to a bar.
static bool ParseChords(const char *text, std::vector<Chord> &beats, std::string &error) {
  int inBar = 0;
  std::vector<std::string> words = Words(text);
  words.push_back("|");
  for (const std::string &word : words) {
    if (word == "|") {
      if (inBar != 4) { error = "chord bar " + std::to_string(beats.size() / 4 + 1) + " holds " + std::to_string(inBar) + " beats"; return false; }
      inBar = 0;
      continue;
    }
    Chord chord = {PitchClass(word[0]), CHORD_MAJOR};
    if (chord.Root < 0) { error = "bad chord \"" + word + "\""; return false; }
    std::string rest = word.substr(1);
    if (!rest.empty() && (rest[0] == '#' || rest[0] == 'b')) {
      chord.Root += rest[0] == '#' ? 1 : -1;
      rest = rest.substr(1);
    }
    if (rest == "m") chord.Quality = CHORD_MINOR;
    else if (rest == "7") chord.Quality = CHORD_SEVENTH;
    else if (!rest.empty()) { error = "bad chord \"" + word + "\""; return false; }
    chord.Root = (chord.Root + 12) % 12;
    beats.push_back(chord);
    inBar++;
  }
  return true;
}

// The lowest pitch of the given class at or above the floor.
static int PlaceAbove(int pitchClass, int floor) { return floor + ((pitchClass - floor) % 12 + 12) % 12; }

// The cell that plays a pitch on a tonal sample, or an error if the pitch
// lies outside the three octaves of the period table.
static ModCell NoteCell(Song &song, int sample, int pitch) {
  int note = NOTE_C2 + pitch - SampleBasePitch(sample);
  if (note < 0 || note >= MOD_NOTES) {
    song.Error = "pitch " + std::to_string(pitch) + " is out of range for sample " + std::to_string(sample);
    return ModCell{};
  }
  return ModCell{(uint8_t)sample, ModPeriods[note], 0, 0};
}

static void PlaceMelody(Song &song, size_t first, const Section &section, const std::vector<MelodyNote> &notes) {
  bool sustains = section.MelodySample == SAMPLE_FLUTE;
  size_t row = first;
  for (const MelodyNote &note : notes) {
    ModCell &cell = song.Rows[row].Cells[CHANNEL_MELODY];
    if (note.Pitch >= 0) {
      cell = NoteCell(song, section.MelodySample, note.Pitch + section.Transpose);
    } else if (sustains) {
      cell.Effect = EFFECT_VOLUME, cell.Param = 0;
    }
    // A sustained note of half a bar or more gets a gentle vibrato after its first beat.
    if (sustains && note.Pitch >= 0 && note.Rows >= 8) {
      for (int r = ROWS_PER_BEAT; r < note.Rows; r++) {
        ModCell &later = song.Rows[row + r].Cells[CHANNEL_MELODY];
        later.Effect = EFFECT_VIBRATO, later.Param = 0x42;
      }
    }
    row += note.Rows;
  }
}

static uint8_t ArpeggioOf(int quality) {
  if (quality == CHORD_MINOR) return 0x37;
  if (quality == CHORD_SEVENTH) return 0x4a;  // root, third and seventh
  return 0x47;
}

static void PlaceChords(Song &song, size_t first, const Section &section, const std::vector<Chord> &beats) {
  for (size_t r = 0; r < beats.size() * ROWS_PER_BEAT; r++) {
    Chord chord = beats[r / ROWS_PER_BEAT];
    ModCell &cell = song.Rows[first + r].Cells[CHANNEL_CHORDS];
    bool changed = r % ROWS_PER_BEAT == 0 &&
                   (r == 0 || chord.Root != beats[r / ROWS_PER_BEAT - 1].Root || chord.Quality != beats[r / ROWS_PER_BEAT - 1].Quality);
    if (changed || (first + r) % MOD_ROWS == 0) {
      cell = NoteCell(song, SAMPLE_PAD, PlaceAbove((chord.Root + section.Transpose) % 12, 50));
    }
    cell.Effect = EFFECT_ARPEGGIO;
    cell.Param = ArpeggioOf(chord.Quality);
  }
}

static void PlaceBass(Song &song, size_t first, const Section &section, const std::vector<Chord> &beats) {
  if (strlen(section.Bass) != ROWS_PER_BAR) { song.Error = "bass line of " + std::string(section.Name) + " is not one bar"; return; }
  for (size_t r = 0; r < beats.size() * ROWS_PER_BEAT; r++) {
    Chord chord = beats[r / ROWS_PER_BEAT];
    int root = PlaceAbove((chord.Root + section.Transpose) % 12, 34);
    int third = chord.Quality == CHORD_MINOR ? 3 : 4;
    int pitch;
    switch (section.Bass[r % ROWS_PER_BAR]) {
      case 'R': pitch = root; break;
      case 'F': pitch = root - 5; break;
      case 'f': pitch = root + 7; break;
      case 'T': pitch = root + third; break;
      case 'O': pitch = root + 12; break;
      case '.': continue;
      default: song.Error = "bad bass step in " + std::string(section.Name); return;
    }
    song.Rows[first + r].Cells[CHANNEL_BASS] = NoteCell(song, SAMPLE_BASS, pitch);
  }
}

static void PlaceDrums(Song &song, size_t first, const Section &section, int bars) {
  struct Hit { char Code; int Sample; uint8_t Volume; };
  static const Hit hits[] = {
    {'k', SAMPLE_KICK, 64}, {'s', SAMPLE_SNARE, 40}, {'S', SAMPLE_SNARE, 56}, {'h', SAMPLE_HAT, 22},
    {'H', SAMPLE_HAT, 34}, {'j', SAMPLE_SLEIGH, 22}, {'J', SAMPLE_SLEIGH, 34},
  };
  if (strlen(section.Groove) != ROWS_PER_BAR || strlen(section.Fill) != ROWS_PER_BAR) {
    song.Error = "drum bar of " + std::string(section.Name) + " is not 16 steps";
    return;
  }
  for (int bar = 0; bar < bars; bar++) {
    const char *steps = bar == bars - 1 ? section.Fill : section.Groove;
    for (int step = 0; step < ROWS_PER_BAR; step++) {
      if (steps[step] == '.') continue;
      const Hit *hit = nullptr;
      for (const Hit &h : hits) {
        if (h.Code == steps[step]) hit = &h;
      }
      if (!hit) { song.Error = "bad drum step in " + std::string(section.Name); return; }
      ModCell &cell = song.Rows[first + bar * ROWS_PER_BAR + step].Cells[CHANNEL_DRUMS];
      cell = ModCell{(uint8_t)hit->Sample, ModPeriods[DrumNote(hit->Sample)], EFFECT_VOLUME, hit->Volume};
    }
  }
}

static bool PlaceSection(Song &song, const Section &section) {
  std::vector<MelodyNote> notes;
  std::vector<Chord> beats;
  int bars = 0;
  if (!ParseMelody(section.Melody, notes, bars, song.Error) || !ParseChords(section.Chords, beats, song.Error)) {
    song.Error = std::string(section.Name) + ": " + song.Error;
    return false;
  }
  if ((int)beats.size() != bars * 4 || bars % BARS_PER_PATTERN) {
    song.Error = std::string(section.Name) + ": melody and chords differ in length or do not fill whole patterns";
    return false;
  }
  size_t first = song.Rows.size();
  song.Rows.resize(first + bars * ROWS_PER_BAR, SongRow{});
  PlaceMelody(song, first, section, notes);
  PlaceChords(song, first, section, beats);
  PlaceBass(song, first, section, beats);
  PlaceDrums(song, first, section, bars);
  return song.Error.empty();
}

// Puts a global effect into the first channel of the row that has none.
static bool PlaceGlobalEffect(Song &song, size_t row, uint8_t effect, uint8_t param) {
  for (ModCell &cell : song.Rows[row].Cells) {
    if (cell.Effect == 0 && cell.Param == 0) {
      cell.Effect = effect, cell.Param = param;
      return true;
    }
  }
  song.Error = "no free effect column in row " + std::to_string(row);
  return false;
}

static bool SamePattern(const ModPattern &a, const ModPattern &b) {
  for (int row = 0; row < MOD_ROWS; row++) {
    for (int channel = 0; channel < MOD_CHANNELS; channel++) {
      const ModCell &x = a.Cells[row][channel], &y = b.Cells[row][channel];
      if (x.Sample != y.Sample || x.Period != y.Period || x.Effect != y.Effect || x.Param != y.Param) return false;
    }
  }
  return true;
}

// Cuts the rows into patterns, storing each different pattern once.
static bool StorePatterns(const Song &song, ModFile &mod, std::string &error) {
  size_t positions = song.Rows.size() / MOD_ROWS;
  if (positions > MOD_ORDERS) { error = "song longer than 128 positions"; return false; }
  mod.Patterns.clear();
  for (size_t position = 0; position < positions; position++) {
    ModPattern pattern = {};
    for (int row = 0; row < MOD_ROWS; row++) {
      for (int channel = 0; channel < MOD_CHANNELS; channel++) {
        pattern.Cells[row][channel] = song.Rows[position * MOD_ROWS + row].Cells[channel];
      }
    }
    size_t index = 0;
    while (index < mod.Patterns.size() && !SamePattern(mod.Patterns[index], pattern)) index++;
    if (index == mod.Patterns.size()) mod.Patterns.push_back(pattern);
    if (mod.Patterns.size() > MOD_MAX_PATTERNS) { error = "more than 64 different patterns"; return false; }
    mod.Orders[position] = (uint8_t)index;
  }
  mod.SongLength = (uint8_t)positions;
  return true;
}

bool ComposeModule(ModFile &mod, std::string &error) {
  mod = ModFile{};
  mod.Title = SongTitle;
  mod.Restart = 127;
  SynthesizeSamples(mod);
  for (int i = 0; i < SongCreditCount && SAMPLE_FIRST_TEXT - 1 + i < MOD_SAMPLES; i++) {
    mod.Samples[SAMPLE_FIRST_TEXT - 1 + i].Name = SongCredits[i];
  }
  Song song;
  for (int i = 0; i < SongSectionCount; i++) {
    if (!PlaceSection(song, SongSections[i])) { error = song.Error; return false; }
  }
  if (!PlaceGlobalEffect(song, 0, EFFECT_SPEED, (uint8_t)SongSpeed) || !PlaceGlobalEffect(song, 0, EFFECT_SPEED, (uint8_t)SongTempo) ||
      !PlaceGlobalEffect(song, song.Rows.size() - 1, EFFECT_JUMP, 0)) {
    error = song.Error;
    return false;
  }
  return StorePatterns(song, mod, error);
}

int SectionBars(const Section &section) {
  std::vector<Chord> beats;
  std::string error;
  return ParseChords(section.Chords, beats, error) ? (int)beats.size() / 4 : 0;
}
