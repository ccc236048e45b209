// The score: "Jingle Bells" (James Lord Pierpont, 1857) and the Welsh carol
// "Deck the Halls" (traditional tune, words 1862), both long in the public
// domain, arranged as intro, verse, chorus, carol, then verse and chorus a
// tone higher and a turnaround that leads back into the intro. Written in
// G major.
#include "tools/modgen/modgen.h"

const char *const SongTitle = "be good: xmas medley";
const int SongSpeed = 6;    // ticks per row
const int SongTempo = 130;  // BPM: a row is a sixteenth note

const char *const SongCredits[] = {
  "Jingle Bells (1857)",
  " J. L. Pierpont",
  "Deck the Halls",
  " traditional Welsh",
  "arranged for Frosten",
};
const int SongCreditCount = sizeof SongCredits / sizeof SongCredits[0];

// Drums: k kick, s snare, S loud snare, h hi-hat, H loud hi-hat,
// j sleigh bells, J loud sleigh bells, '.' nothing.
// Bass: R root, F fifth below, f fifth above, T third, O octave, '.' hold.

static const char INTRO_A_MELODY[] =
  "G5:2 D5:2 B4:2 D5:2 G5:4 r:4 | E5:2 C5:2 G4:2 C5:2 E5:4 r:4 | "
  "D5:2 B4:2 G4:2 B4:2 D5:4 G5:4 | F#5:4 E5:4 D5:4 C5:4";

static const char INTRO_B_MELODY[] =
  "G5:2 D5:2 B4:2 D5:2 G5:4 A5:4 | G5:2 E5:2 C5:2 E5:2 G5:4 r:4 | "
  "E5:2 C#5:2 A4:2 C#5:2 E5:4 G5:4 | F#5:4 A5:4 F#5:2 E5:2 D5:2 C5:2";

static const char VERSE_MELODY[] =
  "D4:4 B4:4 A4:4 G4:4 | D4:12 D4:2 D4:2 | D4:4 B4:4 A4:4 G4:4 | E4:16 | "
  "E4:4 C5:4 B4:4 A4:4 | F#4:16 | D5:4 D5:4 C5:4 A4:4 | B4:16 | "
  "D4:4 B4:4 A4:4 G4:4 | D4:16 | D4:4 B4:4 A4:4 G4:4 | E4:12 E4:4 | "
  "E4:4 C5:4 B4:4 A4:4 | D5:4 D5:4 D5:4 D5:4 | E5:4 D5:4 C5:4 A4:4 | G4:8 r:8";

static const char VERSE_CHORDS[] =
  "G G G G | G G G G | G G G G | C C C C | Am Am Am Am | D D D D | D7 D7 D7 D7 | G G G G | "
  "G G G G | G G G G | G G G G | C C C C | Am Am Am Am | D D D D | Am Am D7 D7 | G G G G";

static const char CHORUS_MELODY[] =
  "B4:4 B4:4 B4:8 | B4:4 B4:4 B4:8 | B4:4 D5:4 G4:6 A4:2 | B4:16 | "
  "C5:4 C5:4 C5:6 C5:2 | C5:4 B4:4 B4:4 B4:2 B4:2 | B4:4 A4:4 A4:4 B4:4 | A4:8 D5:8 | "
  "B4:4 B4:4 B4:8 | B4:4 B4:4 B4:8 | B4:4 D5:4 G4:6 A4:2 | B4:16 | "
  "C5:4 C5:4 C5:6 C5:2 | C5:4 B4:4 B4:4 B4:2 B4:2 | D5:4 D5:4 C5:4 A4:4 | G4:16";

static const char CHORUS_CHORDS[] =
  "G G G G | G G G G | G G G G | G G G G | C C C C | G G G G | A7 A7 A7 A7 | D7 D7 D7 D7 | "
  "G G G G | G G G G | G G G G | G G G G | C C C C | G G G G | D7 D7 D7 D7 | G G G G";

static const char DECK_MELODY[] =
  "D5:6 C5:2 B4:4 A4:4 | G4:4 A4:4 B4:4 G4:4 | A4:2 B4:2 C5:2 A4:2 B4:6 A4:2 | G4:4 F#4:4 G4:8 | "
  "D5:6 C5:2 B4:4 A4:4 | G4:4 A4:4 B4:4 G4:4 | A4:2 B4:2 C5:2 A4:2 B4:6 A4:2 | G4:4 F#4:4 G4:8 | "
  "A4:6 B4:2 C5:4 A4:4 | B4:6 C5:2 D5:4 A4:4 | B4:2 C5:2 D5:4 E5:2 F#5:2 G5:4 | F#5:4 E5:4 D5:8 | "
  "D5:6 C5:2 B4:4 A4:4 | G4:4 A4:4 B4:4 G4:4 | E5:2 E5:2 E5:2 E5:2 D5:6 C5:2 | B4:4 A4:4 G4:4 G#4:4";

static const char DECK_CHORDS[] =
  "G G G G | G D G G | D7 D7 G G | G D7 G G | G G G G | G D G G | D7 D7 G G | G D7 G G | "
  "D7 D7 D7 D7 | G G D D | G G C C | D D D D | G G G G | G D G G | C C D7 D7 | G D7 G E7";

static const char OUTRO_MELODY[] =
  "C#5:4 E5:4 A4:6 B4:2 | C#5:16 | C5:4 A4:4 F4:4 A4:4 | F#4:4 A4:4 C5:4 D5:4";

static const char OUTRO_CHORDS[] = "A A A A | A A A A | F F F F | D7 D7 D7 D7";

const Section SongSections[] = {
  {"intro", 0, SAMPLE_BELL, INTRO_A_MELODY, "G G G G | C C C C | G G G G | D7 D7 D7 D7",
   "J.j.J.j.J.j.J.j.", "J.j.J.j.J.j.JjJj", "R.......F......."},
  {"intro, drums in", 0, SAMPLE_BELL, INTRO_B_MELODY, "G G G G | C C C C | A7 A7 A7 A7 | D7 D7 D7 D7",
   "k.j.s.j.k.j.s.j.", "k.j.s.j.k.s.sSsS", "R...F...R...F..."},
  {"verse: Jingle Bells", 0, SAMPLE_FLUTE, VERSE_MELODY, VERSE_CHORDS,
   "k.h.s.h.k.h.s.h.", "k.h.s.h.k.sss.SS", "R...F...R...F..."},
  {"chorus: Jingle Bells", 0, SAMPLE_BELL, CHORUS_MELODY, CHORUS_CHORDS,
   "k.J.s.J.k.J.s.J.", "k.J.s.J.k.s.sSsS", "R...F...R...F..."},
  {"carol: Deck the Halls", 0, SAMPLE_FLUTE, DECK_MELODY, DECK_CHORDS,
   "k.h.s.hhk.k.s.h.", "k.h.s.h.k.SsSsSS", "R...T...f...T..."},
  {"verse in A: Jingle Bells", 2, SAMPLE_FLUTE, VERSE_MELODY, VERSE_CHORDS,
   "k.J.s.J.k.J.s.J.", "k.J.s.J.k.sss.SS", "R...T...f...T..."},
  {"chorus in A: Jingle Bells", 2, SAMPLE_BELL, CHORUS_MELODY, CHORUS_CHORDS,
   "k.J.s.J.k.Jks.J.", "k.J.s.J.k.s.sSsS", "R...F...R...F.R."},
  {"turnaround", 0, SAMPLE_BELL, OUTRO_MELODY, OUTRO_CHORDS,
   "k.J.s.J.k.J.s.J.", "k.J.s.J.S.SsSsSs", "R...F...R...F..."},
};
const int SongSectionCount = sizeof SongSections / sizeof SongSections[0];
