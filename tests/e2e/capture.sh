#!/bin/bash
# frosten-capture: the same span twice gives the same bytes; a later start
# gives the same pictures as a run from tick 0; it works without a display;
# a missing or damaged data file is one line on stderr and a non-zero exit.
source "$(dirname "$0")/lib.sh"
CAPTURE="$(cd "$BUILD" && pwd)/tools/capture/frosten-capture"
[ -x "$CAPTURE" ] || fail "no $CAPTURE"
OUT="$(mktemp -d)"
at_exit "rm -rf '$OUT'"

png_size() { python3 -c 'import sys,struct; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"; }

"$CAPTURE" --size 160x120 --from 0 --to 80 --step 20 --png "$OUT/a" || fail "first capture failed"
"$CAPTURE" --size 160x120 --from 0 --to 80 --step 20 --png "$OUT/b" || fail "second capture failed"
[ "$(ls "$OUT/a")" = "$(printf 'tick-000000.png\ntick-000020.png\ntick-000040.png\ntick-000060.png')" ] \
  || fail "unexpected files: $(ls "$OUT/a" | tr '\n' ' ')"
for f in "$OUT"/a/*.png; do
  cmp -s "$f" "$OUT/b/$(basename "$f")" || fail "$(basename "$f") differs between two captures"
done
[ "$(png_size "$OUT/a/tick-000020.png")" = 160x120 ] || fail "wrong picture size $(png_size "$OUT/a/tick-000020.png")"
cmp -s "$OUT/a/tick-000000.png" "$OUT/a/tick-000060.png" && fail "ticks 0 and 60 are the same picture"

# The ticks between the pictures are stepped, not drawn: the same pictures
# as when every tick is drawn, also when the capture starts later. Drawn by
# Mesa's softpipe: llvmpipe's pictures can differ in single pixels with what
# it drew before (a tick drawn after ticks 0 ... 19 or after 10 ... 19), also
# when the scene's state is the same; not so with its linear texture
# filtering off (LP_PERF=no_linear).
SOFT=(env GALLIUM_DRIVER=softpipe "$CAPTURE" --size 160x120)
"${SOFT[@]}" --from 0 --to 61 --png "$OUT/all" || fail "capture of every tick failed"
"${SOFT[@]}" --from 0 --to 61 --step 20 --png "$OUT/s" || fail "capture of every 20th tick failed"
"${SOFT[@]}" --from 40 --to 61 --step 20 --png "$OUT/c" || fail "later capture failed"
for tick in 20 40 60; do
  cmp -s "$OUT/s/tick-0000$tick.png" "$OUT/all/tick-0000$tick.png" || fail "tick $tick differs when every tick is drawn"
done
cmp -s "$OUT/all/tick-000040.png" "$OUT/c/tick-000040.png" || fail "tick 40 differs when the capture starts there"
cmp -s "$OUT/all/tick-000060.png" "$OUT/c/tick-000060.png" || fail "tick 60 differs when the capture starts at 40"
cmp -s "$OUT/all/tick-000040.png" "$OUT/all/tick-000060.png" && fail "ticks 40 and 60 are the same picture"

# No display at all: a private X server, and the same picture.
env -u DISPLAY "$CAPTURE" --size 160x120 --from 20 --png "$OUT/d" || fail "capture without a display failed"
cmp -s "$OUT/a/tick-000020.png" "$OUT/d/tick-000020.png" || fail "tick 20 differs without a display"

# A missing data file: the show's error, one line, non-zero exit.
EMPTY="$(mktemp -d)"
at_exit "rm -rf '$EMPTY'"
(cd "$EMPTY" && "$CAPTURE" --size 64x48 --png "$OUT/e" 2>"$OUT/err.txt")
code=$?
[ "$code" -ne 0 ] || fail "a missing scene file exited with 0"
[ "$(wc -l <"$OUT/err.txt")" -eq 1 ] || fail "error is not one line: $(cat "$OUT/err.txt")"
grep -qE '^Runtime error 2 at 0x[0-9A-F]{8} \(data/xmas\.3ds\)$' "$OUT/err.txt" || fail "unexpected error: $(cat "$OUT/err.txt")"

# A texture that does not decode: the show's "Error" box as one line.
mkdir -p "$EMPTY/data"
cp data/* "$EMPTY/data/"
head -c 20 data/flareblu.hwl >"$EMPTY/data/flareblu.hwl"
(cd "$EMPTY" && "$CAPTURE" --size 64x48 --png "$OUT/g" 2>"$OUT/err.txt")
code=$?
[ "$code" -eq 1 ] || fail "a damaged texture exited with $code"
[ "$(wc -l <"$OUT/err.txt")" -eq 1 ] || fail "texture error is not one line: $(cat "$OUT/err.txt")"
grep -qE '^Error: .*flareblu\.hwl' "$OUT/err.txt" || fail "unexpected texture error: $(cat "$OUT/err.txt")"

# Ctrl-C in the middle: it stops between two pictures, with 130, and every
# picture it leaves is whole under its name (no truncated or partial files).
env --default-signal=INT "$CAPTURE" --size 160x120 --from 0 --to 100000 --step 20 --png "$OUT/i" 2>"$OUT/err.txt" &
pid=$!
for _ in $(seq 300); do [ -e "$OUT/i/tick-000040.png" ] && break; sleep 0.1; done
kill -INT "$pid"
wait_exit "$pid" 30 || fail "no end after Ctrl-C"
[ "$EXIT_CODE" = 130 ] || fail "Ctrl-C exited with $EXIT_CODE: $(cat "$OUT/err.txt")"
grep -q "interrupted" "$OUT/err.txt" || fail "no word of the interruption: $(cat "$OUT/err.txt")"
[ -z "$(ls "$OUT/i" | grep -v '^tick-[0-9]*\.png$')" ] || fail "left over: $(ls "$OUT/i" | tr '\n' ' ')"
for f in "$OUT"/i/*.png; do
  [ "$(png_size "$f")" = 160x120 ] && identify "$f" >/dev/null 2>&1 || fail "$(basename "$f") is not a whole picture"
done

# Bad arguments.
"$CAPTURE" --size 0x5 --png "$OUT/f" 2>/dev/null && fail "--size 0x5 accepted"
"$CAPTURE" --from 10 --to 5 --png "$OUT/f" 2>/dev/null && fail "--to before --from accepted"
"$CAPTURE" --from 10 --to 10 --png "$OUT/f" 2>/dev/null && fail "an empty span accepted"
"$CAPTURE" 2>/dev/null && fail "no --png accepted"
echo "capture: ok"
