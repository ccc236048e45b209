#!/bin/bash
# frosten-saver under Debian's real XScreenSaver daemon, with nothing but
# our saver in its list, on a 16:9 screen: activated, it draws the scene
# into the daemon's window between black bars; with the "Show frame rate"
# option (--fps) added to the list it runs and shows the rate in the corner;
# deactivated, it is gone.
source "$(dirname "$0")/lib.sh"
command -v xscreensaver >/dev/null && [ -x /usr/libexec/xscreensaver/xscreensaver-gl-visual ] ||
  fail "no xscreensaver daemon or its GL visual finder (scripts/setup installs them)"
use_private_xvfb 1280x720 || fail "no Xvfb"

# The daemon runs no programs as root: it runs as nobody then, with the
# saver and the show's data copied where nobody may read them.
WORK="$(mktemp -d)"
at_exit "rm -rf $WORK"
mkdir "$WORK/home"
cp "$BUILD/tools/saver/frosten-saver" "$WORK/"
cp -r data mod "$WORK/"
chmod -R a+rX "$WORK"
as_user=(env)
if [ "$(id -u)" = 0 ]; then
  chown nobody "$WORK/home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env)
fi
as_user+=(HOME="$WORK/home" DISPLAY="$DISPLAY")
LOG="$WORK/daemon.log"

# settings OPTIONS: the daemon's settings file, its list holding the saver
# with those options.
settings() {
  cat >"$WORK/home/.xscreensaver" <<EOF
mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
timeout: 1:00:00
cycle: 1:00:00
programs: GL: $WORK/frosten-saver --root $1 \\n\\

EOF
  chmod a+r "$WORK/home/.xscreensaver"
}
command_daemon() { "${as_user[@]}" xscreensaver-command "$1" >/dev/null 2>&1; }

# The crop W H X Y of the grabbed picture: its brightest channel (0 to 1)
# and how much it varies.
brightest() { convert "$WORK/grab.png" -crop "$1x$2+$3+$4" +repage -format '%[fx:maxima]' info:; }
spread() { convert "$WORK/grab.png" -crop "$1x$2+$3+$4" +repage -format '%[fx:standard_deviation]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# activate RUN: blanks the screen and waits for the RUN-th launch of the
# saver in the daemon's log: sets SAVER_PID and SAVER_WINDOW, and waits for
# the scene in the window's 960x720 picture.
activate() {
  command_daemon -activate || fail "xscreensaver-command -activate failed: $(cat "$LOG")"
  local line=""
  for _ in $(seq 200); do
    line="$(grep 'forked ".*frosten-saver' "$LOG" | sed -n "$1p")"
    [ -n "$line" ] && break
    sleep 0.1
  done
  [ -n "$line" ] || fail "the daemon started no saver: $(tail -20 "$LOG")"
  SAVER_PID="$(echo "$line" | sed -n 's/.* in pid \([0-9]*\) on window.*/\1/p')"
  SAVER_WINDOW="$(echo "$line" | sed -n 's/.* on window \(0x[0-9a-f]*\).*/\1/p')"
  for _ in $(seq 300); do
    kill -0 "$SAVER_PID" 2>/dev/null || fail "the saver ended: $(tail -20 "$LOG")"
    import -window "$SAVER_WINDOW" "$WORK/grab.png" 2>/dev/null &&
      above "$(spread 900 600 190 60)" 0.08 && return 0
    sleep 0.2
  done
  fail "no scene in the daemon's window $SAVER_WINDOW"
}

# deactivate: unblanks and waits until the saver is gone.
deactivate() {
  command_daemon -deactivate || fail "xscreensaver-command -deactivate failed"
  for _ in $(seq 100); do
    kill -0 "$SAVER_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "the saver $SAVER_PID is still running after -deactivate"
}

settings ""
(cd "$WORK" && exec "${as_user[@]}" xscreensaver -no-splash -verbose >"$LOG" 2>&1) &
DAEMON=$!
at_exit "kill $DAEMON 2>/dev/null; sleep 0.5; kill -9 $DAEMON 2>/dev/null"
wait_line "$LOG" 'running in process' 30 || fail "the daemon did not start: $(cat "$LOG")"

activate 1
[ "$(tr '\0' ' ' </proc/"$SAVER_PID"/environ | grep -o "XSCREENSAVER_WINDOW=[^ ]*")" = \
  "XSCREENSAVER_WINDOW=$SAVER_WINDOW" ] || fail "the saver was not given the daemon's window"
[ "$(identify -format '%wx%h' "$WORK/grab.png")" = 1280x720 ] || fail "the daemon's window is not the screen"
# A 960x720 picture in the middle, black bars of 160 either side.
[ "$(brightest 160 720 0 0)" = 0 ] || fail "the left bar is not black"
[ "$(brightest 160 720 1120 0)" = 0 ] || fail "the right bar is not black"
above "$(brightest 4 720 160 0)" 0 || fail "the picture does not reach the left bar"
deactivate
echo "activated: scene in the daemon's window $SAVER_WINDOW, black bars; deactivated: saver gone"

# "Show frame rate" ticked: the daemon adds --fps.
settings "--fps"
activate 2
tr '\0' ' ' </proc/"$SAVER_PID"/cmdline | grep -q -- '--root --fps' || fail "the saver was not given --fps"
sleep 2
import -window "$SAVER_WINDOW" "$WORK/grab.png" || fail "cannot grab the window"
above "$(brightest 150 30 0 690)" 0.9 || fail "no frame rate in the lower left corner"
[ "$(brightest 160 660 0 0)" = 0 ] || fail "the left bar above the frame rate is not black"
deactivate
grep -q "crashed" "$LOG" && fail "the daemon says: $(grep crashed "$LOG")"
echo "with --fps: the frame rate in the corner; deactivated: saver gone"
