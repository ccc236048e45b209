// The music generator: synthesises the instruments, arranges the songs into
// patterns and builds the module record that becomes mod/be_good.mod.
#pragma once

#include "tools/common/mod_file.h"

#include <string>

enum ModgenSample {
  SAMPLE_BELL = 1,
  SAMPLE_FLUTE,
  SAMPLE_PAD,
  SAMPLE_BASS,
  SAMPLE_KICK,
  SAMPLE_SNARE,
  SAMPLE_HAT,
  SAMPLE_SLEIGH,
  SAMPLE_FIRST_TEXT  // the remaining slots carry only names
};

enum { CHANNEL_MELODY, CHANNEL_CHORDS, CHANNEL_BASS, CHANNEL_DRUMS };

enum { NOTE_C2 = 12, NOTE_C3 = 24 };  // note indices into ModPeriods

// One section of the arrangement. Melody: "PITCH:ROWS" tokens ("F#4:4",
// "r:8" for a rest), a row is a sixteenth note, "|" ends a bar of 16 rows.
// Chords: one symbol per beat ("G", "Am", "D7"), four to a bar. Drums and
// bass: 16 characters per bar (see arrange.cpp); the fill replaces the
// groove in the section's last bar.
struct Section {
  const char *Name;
  int Transpose;     // semitones added to melody and chords
  int MelodySample;  // SAMPLE_BELL or SAMPLE_FLUTE
  const char *Melody;
  const char *Chords;
  const char *Groove;
  const char *Fill;
  const char *Bass;
};

extern const Section SongSections[];
extern const int SongSectionCount;
extern const char *const SongTitle;
extern const int SongSpeed;
extern const int SongTempo;
extern const char *const SongCredits[];  // names for the text-only sample slots
extern const int SongCreditCount;

// The MIDI pitch that a tonal sample sounds at C-2; -1 for the drums.
int SampleBasePitch(int sample);
// The note index that a drum sample is played at.
int DrumNote(int sample);
// Fills the instrument slots with their synthesised sounds.
void SynthesizeSamples(ModFile &mod);
// The number of bars in a section, 0 if its chords do not parse.
int SectionBars(const Section &section);
// Builds the whole module. False with a reason on a fault in the score.
bool ComposeModule(ModFile &mod, std::string &error);
