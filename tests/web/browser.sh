#!/bin/bash
# The browser build (build/web/, made by scripts/web) in headless Chromium:
# browser.mjs drives the page; its pictures of ticks 0, 700 and 1400 are
# compared with frosten-capture's at 640x480. The GL differs (SwiftShader
# against llvmpipe) in texture filtering and rounding; a missing light, fog
# or flare is far outside the bounds.
source "$(dirname "$0")/../e2e/lib.sh"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
CAPTURE="$(cd "$BUILD" && pwd)/tools/capture/frosten-capture"
DIFF="$(cd "$BUILD" && pwd)/tests/picture_diff"
for program in "$CAPTURE" "$DIFF"; do [ -x "$program" ] || fail "no $program"; done
[ -f "$ROOT/build/web/frosten.wasm" ] || fail "no build/web: run scripts/web"
export WEB_DEPS="$ROOT/build/web-deps"
OUT="$(mktemp -d)"
at_exit "rm -rf '$OUT'"
mkdir -p "$OUT/native" "$OUT/browser"

python3 "$ROOT/web/serve.py" "$ROOT/build/web" 0 >"$OUT/serve.txt" &
at_exit "kill $! 2>/dev/null"
wait_line "$OUT/serve.txt" '^serving [0-9]+' 10 || fail "the server did not start"
PORT="$(awk '{print $2}' "$OUT/serve.txt")"

node "$(dirname "$0")/browser.mjs" "http://127.0.0.1:$PORT/" "$OUT/browser" || fail "the browser test failed"
"$CAPTURE" --size 640x480 --from 0 --to 2100 --step 700 --png "$OUT/native" || fail "frosten-capture failed"
status=0
for tick in 000000 000700 001400; do
  result="$("$DIFF" "$OUT/native/tick-$tick.png" "$OUT/browser/tick-$tick.png" "${WEB_MEAN_BOUND:-2}" "${WEB_P99_BOUND:-20}")" || status=1
  echo "browser against native, tick $tick: $result"
done
if [ -n "${WEB_KEEP:-}" ]; then cp -r "$OUT/native" "$OUT/browser" "$WEB_KEEP/"; fi
[ "$status" -eq 0 ] || fail "the browser's pictures differ from the native ones"
echo "browser test passed"
