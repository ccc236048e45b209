#!/bin/bash
# CPU use of frosten-saver in its own 640x480 window: paced (default 30
# frames a second, and any rates given) against back to back (--fps 0), each
# for SECONDS of drawing after the scene has loaded, on a private X server.
# CPU is the process's user + system time (the GL's drawing threads
# included) over the drawing time; 100 % is one core.
#
#   bench/saver_cpu.sh BUILD_DIR [SECONDS] [FPS ...]
#
# Run in the source folder (data/ and mod/). The figures include whatever
# else the machine is doing at the time.
set -euo pipefail
BUILD="${1:?build folder}"
SECONDS_EACH="${2:-20}"
shift $(($# > 1 ? 2 : 1))
RATES=("${@:-30}" 0)
SAVER="$BUILD/tools/saver/frosten-saver"
[ -x "$SAVER" ] || { echo "saver_cpu: $SAVER not built" >&2; exit 1; }
WORK="$(mktemp -d)"
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$WORK/display")"

printf '%-8s %8s %8s %8s %8s\n' "--fps" frames seconds "frames/s" "CPU %"
for fps in "${RATES[@]}"; do
  "$SAVER" --window --fps "$fps" --stats 2>"$WORK/stats" &
  pid=$!
  # The scene loads first; the drawing time starts after that.
  for _ in $(seq 300); do xdotool search --name '^frosten-saver$' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep "$((SECONDS_EACH + 3))"
  kill -TERM "$pid"
  wait "$pid"
  read -r frames seconds cpu < <(sed -n 's/^frosten-saver: \([0-9]*\) frames in \([0-9.]*\) s, \([0-9.]*\) s CPU$/\1 \2 \3/p' "$WORK/stats")
  [ -n "${frames:-}" ] || { echo "saver_cpu: no figures from --fps $fps: $(cat "$WORK/stats")" >&2; exit 1; }
  awk -v f="$fps" -v n="$frames" -v s="$seconds" -v c="$cpu" \
    'BEGIN { printf "%-8s %8d %8.1f %8.1f %7.1f%%\n", f, n, s, n / s, 100 * c / s }'
done
