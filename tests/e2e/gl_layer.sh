#!/bin/bash
# The browser's GL layer drawn on the native GL against the fixed-function
# pictures of frosten-capture, at ticks 0, 700 and 1400: they agree but for
# rounding and the stroke font's own letters (a light, the fog or a flare
# missing is a mean difference of 1 to 12 and a 99th percentile of 30 to 90).
source "$(dirname "$0")/lib.sh"
CAPTURE="$(cd "$BUILD" && pwd)/tools/capture/frosten-capture"
LAYER="$(cd "$BUILD" && pwd)/tests/layer_capture"
DIFF="$(cd "$BUILD" && pwd)/tests/picture_diff"
for program in "$CAPTURE" "$LAYER" "$DIFF"; do [ -x "$program" ] || fail "no $program"; done
OUT="$(mktemp -d)"
at_exit "rm -rf '$OUT'"
mkdir -p "$OUT/fixed" "$OUT/layer"

"$CAPTURE" --size 640x480 --from 0 --to 2100 --step 700 --png "$OUT/fixed" || fail "fixed-function capture failed"
"$LAYER" 640x480 "$OUT/layer" 0 700 1400 2>"$OUT/err.txt" || fail "layer capture failed: $(cat "$OUT/err.txt")"
[ -s "$OUT/err.txt" ] && fail "the layer reported: $(cat "$OUT/err.txt")"
for tick in 000000 000700 001400; do
  result="$("$DIFF" "$OUT/fixed/tick-$tick.png" "$OUT/layer/tick-$tick.png" 0.8 6)" ||
    fail "tick $tick: the layer's picture differs: $result"
  echo "tick $tick: $result"
done
