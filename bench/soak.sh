#!/bin/bash
# A soak: the show (through its launcher, in a window) and frosten-saver
# (its own window, 30 frames a second) left running side by side on a
# private Xvfb for MINUTES, with each one's resident memory, open file
# descriptors and threads at the start, every minute and at the end; then
# SIGTERM, the time each took to end, and the screen saver's timeout, which
# must be back as it was.
#
#   bench/soak.sh MINUTES [BUILD_DIR]     # default build/release
#   bench/soak.sh --warp [BUILD_DIR]
#
# --warp runs 30 days of show time in a few minutes through the show
# clock's settable reading (bench/soak_warp), with clock jumps of 1 s, 1 min,
# 1 h, 8 h and 64 h and a step of the wall clock, and prints the longest
# frame after each. Run in the source folder (data/ and mod/).
set -uo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --warp ]; then
  BUILD="${2:-build/release}"
  [ -x "$BUILD/bench/soak_warp" ] || { echo "soak: $BUILD/bench/soak_warp not built" >&2; exit 1; }
  # shellcheck source=../tests/e2e/lib.sh
  source tests/e2e/lib.sh "$BUILD"
  use_private_xvfb 1024x768 || fail "no Xvfb"
  "$BUILD/bench/soak_warp"
  exit
fi
MINUTES="${1:?usage: bench/soak.sh MINUTES [BUILD_DIR] | --warp [BUILD_DIR]}"
BUILD="${2:-build/release}"
SAVER="$BUILD/tools/saver/frosten-saver"
[ -x "$BUILD/frosten" ] && [ -x "$SAVER" ] || { echo "soak: the show or the saver is not built in $BUILD" >&2; exit 1; }
# shellcheck source=../tests/e2e/lib.sh
source tests/e2e/lib.sh "$BUILD"
export SDL_AUDIODRIVER=dummy
SHOW_WRAPPER=(env --default-signal=INT,QUIT)
use_private_xvfb 1024x768 || fail "no Xvfb"
xset s 600

start_show || fail "no show window"
start_bg SAVER_PID env --default-signal=INT,QUIT "$SAVER" --window --stats
SAVER_LOG_NOTE="saver: its own window, 30 frames a second"
wait_window '^frosten-saver$' 60 >/dev/null || fail "no saver window"
sleep 2

# sample WHEN PID...: one line per program: RSS (kB), descriptors, threads.
sample() {
  local when="$1" name pid rss fds threads
  shift
  for name in show saver; do
    pid="$1"; shift
    rss="$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)"
    threads="$(awk '/^Threads:/ {print $2}' "/proc/$pid/status" 2>/dev/null)"
    fds="$(ls "/proc/$pid/fd" 2>/dev/null | wc -l)"
    printf '%-8s %-6s %10s %5s %8s\n' "$when" "$name" "${rss:-gone}" "$fds" "${threads:-gone}"
  done
}

echo "soak: $MINUTES min; show: window through the launcher, dummy sound; $SAVER_LOG_NOTE"
printf '%-8s %-6s %10s %5s %8s\n' minute program "RSS kB" fds threads
sample start "$SHOW_PID" "$SAVER_PID"
for minute in $(seq "$MINUTES"); do
  sleep 60
  kill -0 "$SHOW_PID" 2>/dev/null || fail "the show ended at minute $minute: $(cat "$SHOW_LOG")"
  kill -0 "$SAVER_PID" 2>/dev/null || fail "the saver ended at minute $minute"
  sample "$minute" "$SHOW_PID" "$SAVER_PID"
done
sample end "$SHOW_PID" "$SAVER_PID"

# ends NAME PID: SIGTERM, then the time until the process has gone.
ends() {
  local start end
  start="$(date +%s.%N)"
  kill -TERM "$2"
  wait_exit "$2" 10 || fail "$1 did not end on SIGTERM"
  end="$(date +%s.%N)"
  awk -v n="$1" -v s="$start" -v e="$end" -v c="$EXIT_CODE" \
    'BEGIN { printf "%s: ended %.3f s after SIGTERM, status %s\n", n, e - s, c }'
}
ends saver "$SAVER_PID"
ends show "$SHOW_PID"
echo "screen-saver timeout after the end: $(xset_timeout) (was 600)"
