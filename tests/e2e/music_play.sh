#!/bin/bash
# The show plays its module from start-up to Escape: 3 s of the show with
# SDL's disk driver, Escape, the music stops before the credits box shows,
# the box is dismissed and the exit code is 0. The captured sound matches a
# direct libopenmpt render of the same module in level (RMS within 1 dB).
# Then SIGTERM ends a second run at once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_common.bash"

make_show_folder
cd "$WORK/show"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/capture.raw"
start_show || fail "the show window did not appear"
sleep 3
press "$SHOW_WINDOW" Escape
box="$(wait_window '^FROSTEN 2000$' 30)" || fail "no credits box"
# The device is closed before the box shows: the capture no longer grows.
size="$(stat -c %s "$WORK/capture.raw")"
sleep 0.5
[ "$(stat -c %s "$WORK/capture.raw")" = "$size" ] || fail "the music still plays under the credits box"
press "$box" Return
expect_exit 0

read -r frames level < <("$TOOL" capture "$WORK/capture.raw")
[ "$frames" -gt 44100 ] || fail "only $frames frames of sound captured"
direct="$("$TOOL" level "$WORK/show/mod/be_good.mod" 44100 "$frames")" || fail "direct render failed"
echo "captured $frames frames at $level dBFS; direct render $direct dBFS"
awk -v a="$level" -v b="$direct" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(a > -40 && d <= 1.0) }' ||
  fail "captured level $level dBFS against $direct dBFS"

# SIGTERM still ends the show at once: the sound library leaves SIGINT and
# SIGTERM alone. (A script's background jobs ignore SIGINT, so TERM stands in.)
start_show || fail "the show window did not appear"
sleep 1
kill -TERM "$SHOW_PID"
expect_exit 143
echo "PASS"
