#!/bin/bash
# The show's music as outside players see it: xmp and openmpt123 load
# mod/be_good.mod as a four-channel ProTracker module without complaint, a
# render neither clips nor is too quiet or too loud, and in its first 30 s
# sox hears the drum hits and the melody's pitches where the patterns put
# them (the melody and the drums are the left channel on an Amiga).
source "$(dirname "$0")/lib.sh"
MOD=mod/be_good.mod
EVENTS="$BUILD/tests/mod_events"
[ -f "$MOD" ] || fail "$MOD is missing"
[ -x "$EVENTS" ] || fail "$EVENTS is not built"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cp "$MOD" "$WORK/song.mod"

info="$(xmp --load-only "$MOD" 2>&1)" || fail "xmp cannot load $MOD: $info"
grep -q "Module type  : Protracker M.K." <<<"$info" || fail "xmp does not see a ProTracker M.K. module: $info"
grep -qE "Channels     : 4( |$)" <<<"$info" || fail "xmp does not see 4 channels: $info"
if grep -qiE "warn|error|unknown|corrupt|bad" <<<"$info"; then fail "xmp complains: $info"; fi

info="$(openmpt123 --info "$WORK/song.mod" 2>&1)" || fail "openmpt123 cannot load $MOD"
grep -q "Type.......: mod (ProTracker MOD (M.K.))" <<<"$info" || fail "openmpt123 sees another type: $info"
grep -q "Channels...: 4$" <<<"$info" || fail "openmpt123 does not see 4 channels"
if grep -qiE "warn|error" <<<"$info"; then fail "openmpt123 complains: $info"; fi

log="$(openmpt123 --render --force "$WORK/song.mod" 2>&1)" || fail "openmpt123 cannot render: $log"
if grep -qiE "warn|error" <<<"$log"; then fail "openmpt123 complains while rendering: $log"; fi
WAV="$WORK/song.mod.wav"
stats="$(sox "$WAV" -n stats 2>&1)"
peak="$(awk '/^Pk lev dB/ {print $4}' <<<"$stats")"
rms="$(awk '/^RMS lev dB/ {print $4}' <<<"$stats")"
length="$(awk '/^Length s/ {print $3}' <<<"$stats")"
echo "render: $length s, peak $peak dBFS, RMS $rms dBFS"
awk -v p="$peak" 'BEGIN {exit !(p < 0)}' || fail "the render clips: peak $peak dBFS"
awk -v r="$rms" 'BEGIN {exit !(r >= -24 && r <= -12)}' || fail "RMS $rms dBFS is outside -24..-12"
awk -v l="$length" 'BEGIN {exit !(l >= 120 && l <= 180)}' || fail "length $length s is outside 2 to 3 minutes"

# The first 30 s, left channel, split into a kick band, a snare band and a
# band for hi-hat and sleigh bells.
sox "$WAV" "$WORK/first.wav" trim 0 30 remix 1 2>/dev/null
sox "$WORK/first.wav" "$WORK/low.wav" lowpass 120 lowpass 120 2>/dev/null
sox "$WORK/first.wav" "$WORK/mid.wav" highpass 1500 highpass 1500 2>/dev/null
sox "$WORK/first.wav" "$WORK/high.wav" highpass 6000 highpass 6000 2>/dev/null
rms_at() { sox "$1" -n trim "$2" "$3" stats 2>&1 | awk '/^RMS lev dB/ {print $4}'; }

# Every drum hit at least as loud as the one before it raises its band by
# 3 dB or more within 20 ms of its row.
hits=0
last=0
while read -r time sample note volume; do
  case "$sample" in 5) band=low ;; 6) band=mid ;; *) band=high ;; esac
  if [ "$volume" -ge "$last" ] && awk -v t="$time" 'BEGIN {exit !(t > 0.05)}'; then
    before="$(rms_at "$WORK/$band.wav" "$(awk -v t="$time" 'BEGIN {print t - 0.025}')" 0.022)"
    after="$(rms_at "$WORK/$band.wav" "$(awk -v t="$time" 'BEGIN {print t + 0.001}')" 0.019)"
    awk -v a="$after" -v b="$before" 'BEGIN {exit !(a - b >= 3)}' ||
      fail "no drum hit heard at $time s (sample $sample): $before dB before, $after dB after"
    hits=$((hits + 1))
  fi
  last="$volume"
done < <("$EVENTS" "$MOD" 3 30)
[ "$hits" -ge 60 ] || fail "only $hits drum hits checked"

# Every melody note's strongest frequency between 270 and 1000 Hz is its
# pitch (the bell and the flute sound middle C at C-2), within 25 cents.
notes=0
while read -r time sample note volume; do
  want="$(awk -v n="$note" 'BEGIN {printf "%.2f", 261.6256 * 2 ^ ((n - 12) / 12)}')"
  got="$(sox "$WORK/first.wav" -n trim "$(awk -v t="$time" 'BEGIN {print t + 0.01}')" 0.2 rate 12000 stat -freq 2>&1 |
         awk '$1 > 270 && $1 < 1000 && $2 > best {best = $2; hz = $1} END {print hz}')"
  awk -v w="$want" -v g="$got" 'BEGIN {c = 1200 * log(g / w) / log(2); exit !(c > -25 && c < 25)}' ||
    fail "melody note at $time s sounds $got Hz, not $want Hz"
  notes=$((notes + 1))
done < <("$EVENTS" "$MOD" 0 30)
[ "$notes" -ge 40 ] || fail "only $notes melody notes checked"
echo "music: $hits drum hits and $notes melody notes where the patterns put them"
