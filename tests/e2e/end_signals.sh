#!/bin/bash
# SIGINT, SIGTERM, SIGHUP and SIGQUIT end the show through its exit list
# without showing a box, with status 128 + the signal, and the screen saver's
# timeout back as it was: while the show runs, while the credits box is up
# and in the launcher; in full-screen mode (on Xorg's dummy driver, where it
# is installed) the video mode and DPMS come back too.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
# Background jobs of a script start with SIGINT and SIGQUIT ignored.
SHOW_WRAPPER=(env --default-signal=INT,QUIT)

# ends_on SIGNAL WHAT: sends the signal to the show and checks how it ended.
ends_on() {
  local signal="$1" what="$2" wanted
  wanted=$((128 + $(kill -l "$signal")))
  kill -s "$signal" "$SHOW_PID"
  wait_exit "$SHOW_PID" 30 || fail "SIG$signal $what: the show did not end"
  [ "$EXIT_CODE" = "$wanted" ] || fail "SIG$signal $what: exit status $EXIT_CODE, wanted $wanted"
  [ "$(xset_timeout)" = 600 ] || fail "SIG$signal $what: screen saver timeout $(xset_timeout), wanted 600"
  no_window '^FROSTEN 2000$' || fail "SIG$signal $what: a credits box is left"
}

use_private_xvfb 1024x768 || fail "no Xvfb"
for signal in INT TERM HUP QUIT; do
  xset s 600
  start_show || fail "no show window"
  [ "$(xset_timeout)" = 0 ] || fail "screen saver timeout $(xset_timeout) while the show runs"
  ends_on "$signal" "while the show runs"
done

# While the credits box waits for the user.
xset s 600
start_show || fail "no show window"
press "$SHOW_WINDOW" Escape
wait_window '^FROSTEN 2000$' 30 >/dev/null || fail "no credits box after Escape"
ends_on TERM "while the credits box is up"

# In the launcher, before anything was changed.
xset s 600
"${SHOW_WRAPPER[@]}" "$BUILD/frosten" >/dev/null 2>&1 &
SHOW_PID=$!
at_exit "kill -9 $SHOW_PID 2>/dev/null"
wait_launcher >/dev/null || fail "no launcher window"
ends_on INT "in the launcher"

# Full-screen game mode: the start mode comes back, and DPMS where offered.
WORK="$(mktemp -d)"
at_exit "rm -rf $WORK"
use_dummy_xorg "$WORK"
case $? in
  0)
    xset s 600
    dpms_before="$(dpms_state)"
    "${SHOW_WRAPPER[@]}" "$BUILD/frosten" >/dev/null 2>&1 &
    SHOW_PID=$!
    at_exit "kill -9 $SHOW_PID 2>/dev/null"
    launcher="$(wait_launcher)" || fail "no launcher window on Xorg"
    press "$launcher" Return
    for _ in $(seq 100); do [ "$(vidmode_current)" = "640x480 25.20" ] && break; sleep 0.1; done
    [ "$(vidmode_current)" = "640x480 25.20" ] || fail "no game mode: $(vidmode_current)"
    wait_window '^glZELT$' 30 >/dev/null || fail "the full-screen window is not titled glZELT"
    if [ "$dpms_before" = Enabled ]; then
      [ "$(dpms_state)" = Disabled ] || fail "DPMS $(dpms_state) while the show runs"
    fi
    ends_on HUP "in full-screen mode"
    [ "$(vidmode_current)" = "1024x768 65.00" ] || fail "video mode after SIGHUP: $(vidmode_current)"
    [ "$(dpms_state)" = "$dpms_before" ] || fail "DPMS $(dpms_state) after the end, was $dpms_before"
    echo "full-screen: ok (DPMS ${dpms_before:-not offered})"
    ;;
  77) ;;
  *) fail "Xorg did not start" ;;
esac
echo "signals: ok"
