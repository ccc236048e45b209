#!/bin/bash
# frosten-capture --video: the same span twice gives the same video; each
# frame is the picture --png draws for its tick (at 30 fps every second tick,
# the snow still stepped through every tick); ffprobe finds the size, frame
# rate, frame count and a stereo AAC track as long as the pictures, whose
# music is the module mixed directly from the span's start; every failure is
# one line, a non-zero status and no file left behind, and so is an interrupt.
source "$(dirname "$0")/lib.sh"
CAPTURE="$(cd "$BUILD" && pwd)/tools/capture/frosten-capture"
RENDER="$(cd "$BUILD" && pwd)/tests/module_render"
[ -x "$CAPTURE" ] || fail "no $CAPTURE"
[ -x "$RENDER" ] || fail "no $RENDER"
command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null || fail "ffmpeg is not installed (scripts/setup)"
OUT="$(mktemp -d)"
at_exit "rm -rf '$OUT'"
SPAN=(--size 160x120 --from 600 --to 660 --fps 30)

"$CAPTURE" "${SPAN[@]}" --video "$OUT/a.mp4" --png "$OUT/a" 2>"$OUT/log" || fail "capture failed: $(cat "$OUT/log")"
grep -qE '^frosten-capture: .*a\.mp4: 30 frames in' "$OUT/log" || fail "no summary: $(cat "$OUT/log")"
"$CAPTURE" "${SPAN[@]}" --video "$OUT/b.mp4" --png "$OUT/b" 2>/dev/null || fail "second capture failed"
[ "$(ls -A "$OUT" | tr '\n' ' ')" = "a a.mp4 b b.mp4 log " ] || fail "files left over: $(ls -A "$OUT")"
diff -r "$OUT/a" "$OUT/b" >/dev/null || fail "the frames differ between two captures"
framemd5() { ffmpeg -v error -i "$1" -map 0:v -f framemd5 - | grep -v '^#'; }
[ "$(framemd5 "$OUT/a.mp4")" = "$(framemd5 "$OUT/b.mp4")" ] || fail "the decoded videos differ"

# The frames are the pictures that --png draws for ticks 600, 602 ... 658
# (capture.sh checks that these are the same when every tick is drawn).
"$CAPTURE" --size 160x120 --from 600 --to 660 --step 2 --png "$OUT/s" || fail "--png capture failed"
[ "$(ls "$OUT/a" | wc -l)" = 30 ] || fail "$(ls "$OUT/a" | wc -l) frames, not 30"
diff -r "$OUT/a" "$OUT/s" >/dev/null || fail "the frames differ from the pictures of --png"
"$CAPTURE" --size 160x120 --from 600 --to 660 --png "$OUT/p" || fail "--png capture failed"
# The encoded frame is nearest to its own tick's picture.
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
for frame in 5 20; do
  tick=$((600 + 2 * frame))
  ffmpeg -v error -y -i "$OUT/a.mp4" -vf "select=eq(n\\,$frame)" -frames:v 1 "$OUT/f.png"
  own="$(psnr "$OUT/f.png" "$OUT/p/tick-000$tick.png")"
  for other in $((tick - 1)) $((tick + 1)); do
    near="$(psnr "$OUT/f.png" "$OUT/p/tick-000$other.png")"
    python3 -c "import sys; sys.exit(not ($own > 24 and $own > $near + 3))" \
      || fail "frame $frame: PSNR $own dB to tick $tick, $near dB to tick $other"
  done
done

# What ffprobe sees: 30 frames of 160x120 at 30 fps, yuv420p H.264, and 1 s
# of 44.1 kHz stereo AAC.
probe() { ffprobe -v error -count_frames -select_streams "$1" -show_entries "stream=$2" -of csv=p=0 "$OUT/a.mp4"; }
[ "$(probe v codec_name,pix_fmt,width,height,r_frame_rate,nb_read_frames)" = "h264,160,120,yuv420p,30/1,30" ] \
  || fail "video stream: $(probe v codec_name,pix_fmt,width,height,r_frame_rate,nb_read_frames)"
[ "$(probe a codec_name,sample_rate,channels)" = "aac,44100,2" ] \
  || fail "audio stream: $(probe a codec_name,sample_rate,channels)"
python3 -c "import sys; sys.exit(abs(float('$(probe a duration)') - 1.0) > 0.01)" \
  || fail "audio lasts $(probe a duration) s, the pictures 1 s"

# The sound: the module mixed straight from 10 s in (tick 600), at the same
# level and in step (the samples correlate).
ffmpeg -v error -i "$OUT/a.mp4" -map 0:a -f s16le -ac 2 -ar 44100 "$OUT/got.raw" || fail "audio does not decode"
"$RENDER" mod/be_good.mod $((600 * 735)) 44100 "$OUT/want.raw" || fail "direct render failed"
python3 - "$OUT/got.raw" "$OUT/want.raw" <<'PY' || fail "the sound is not the module's"
import array, math, sys
got, want = (array.array('h', open(f, 'rb').read()) for f in sys.argv[1:3])
n = min(len(got), len(want))
if abs(len(got) - len(want)) > 2 * 2048: sys.exit("decoded %d samples, want %d" % (len(got), len(want)))
db = lambda s: 10 * math.log10(max(sum(x * x for x in s[:n]) / n, 1e-9) / 32768 ** 2)
energy = math.sqrt(sum(a * a for a in got[:n]) * sum(b * b for b in want[:n])) or 1
corr = sum(a * b for a, b in zip(got[:n], want[:n])) / energy
print("sound: %.2f dBFS, direct %.2f dBFS, correlation %.3f" % (db(got), db(want), corr))
if db(want) < -40 or abs(db(got) - db(want)) > 1 or corr < 0.9: sys.exit(1)
PY

# Failures: one line on stderr, a non-zero status, nothing left in the folder.
FAILS="$OUT/fails"
mkdir "$FAILS"
# expect_failure STATUS REGEX COMMAND...
expect_failure() {
  local status="$1" regex="$2"
  shift 2
  "$@" >/dev/null 2>"$OUT/err"
  local code=$?
  [ "$code" = "$status" ] || fail "$*: status $code, not $status: $(cat "$OUT/err")"
  [ "$(wc -l <"$OUT/err")" = 1 ] || fail "$*: not one line: $(cat "$OUT/err")"
  grep -qE "$regex" "$OUT/err" || fail "$*: unexpected message: $(cat "$OUT/err")"
  [ -z "$(ls -A "$FAILS")" ] || fail "$*: left $(ls -A "$FAILS")"
}
SHORT=(--size 160x120 --to 20)
expect_failure 1 ': No such file or directory$' "$CAPTURE" "${SHORT[@]}" --video "$FAILS/none/v.mp4"
expect_failure 1 'is a folder$' "$CAPTURE" "${SHORT[@]}" --video "$FAILS"
expect_failure 1 'must be even, not 161x120$' "$CAPTURE" --size 161x120 --video "$FAILS/v.mp4"
expect_failure 1 'ffmpeg program' \
  env FROSTEN_FFMPEG=/nonexistent/ffmpeg "$CAPTURE" "${SHORT[@]}" --video "$FAILS/v.mp4"
printf '#!/bin/sh\necho "the encoder broke" >&2\nexit 1\n' >"$OUT/broken-ffmpeg"
chmod +x "$OUT/broken-ffmpeg"
expect_failure 1 '^frosten-capture: ffmpeg failed: the encoder broke$' \
  env FROSTEN_FFMPEG="$OUT/broken-ffmpeg" "$CAPTURE" "${SHORT[@]}" --video "$FAILS/v.mp4"
# One that takes every frame and fails at the end, silently.
printf '#!/bin/sh
cat >/dev/null
exit 3
' >"$OUT/late-ffmpeg"
chmod +x "$OUT/late-ffmpeg"
expect_failure 1 '^frosten-capture: ffmpeg failed with status 3$' \
  env FROSTEN_FFMPEG="$OUT/late-ffmpeg" "$CAPTURE" "${SHORT[@]}" --video "$FAILS/v.mp4"
if [ "$(id -u)" != 0 ]; then
  chmod 555 "$FAILS"
  expect_failure 1 'cannot write there' "$CAPTURE" "${SHORT[@]}" --video "$FAILS/v.mp4"
  chmod 755 "$FAILS"
else
  # root may write anywhere but in a file system that takes no new files.
  expect_failure 1 '^frosten-capture: cannot make a file in /sys: ' "$CAPTURE" "${SHORT[@]}" --video /sys/v.mp4
fi
# Run elsewhere: the module but no data files; then the data files and a
# module that is not one.
HERE="$PWD"
mkdir -p "$OUT/run/mod" && ln -s "$HERE/mod/be_good.mod" "$OUT/run/mod/be_good.mod"
cd "$OUT/run" || fail "no $OUT/run"
expect_failure 2 '^Runtime error 2 at .*\(data/xmas\.3ds\)$' "$CAPTURE" "${SHORT[@]}" --video "$FAILS/v.mp4"
ln -s "$HERE/data" data && rm mod/be_good.mod && echo "not a module" >mod/be_good.mod
expect_failure 1 '^frosten-capture: not a module file: mod/be_good\.mod$' \
  "$CAPTURE" "${SHORT[@]}" --video "$FAILS/v.mp4"
cd "$HERE" || fail "no $HERE"

# An interrupt (Ctrl-C, or SIGTERM) while it draws: ffmpeg is stopped, the
# partial files go, the status says so.
for signal in INT TERM; do
  env --default-signal=INT "$CAPTURE" --size 160x120 --to 100000 --video "$FAILS/v.mp4" 2>"$OUT/err" &
  pid=$!
  at_exit "kill -9 $pid 2>/dev/null"
  for _ in $(seq 300); do ls -A "$FAILS" | grep -q partial && break; sleep 0.1; done
  ls -A "$FAILS" | grep -q partial || fail "no partial video while capturing"
  sleep 0.5
  kill -"$signal" "$pid"
  wait_exit "$pid" 30 || fail "SIG$signal did not end the capture"
  [ "$EXIT_CODE" = "$((128 + $(kill -l "$signal")))" ] || fail "SIG$signal: status $EXIT_CODE"
  [ "$(cat "$OUT/err")" = "frosten-capture: interrupted" ] || fail "SIG$signal: $(cat "$OUT/err")"
  [ -z "$(ls -A "$FAILS")" ] || fail "SIG$signal left $(ls -A "$FAILS")"
done
echo "capture_video: ok"
