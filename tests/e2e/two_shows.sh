#!/bin/bash
# Two shows on one display: the screen saver (and DPMS, where the server
# offers it) stays off until the second one ends, whichever ends first, and
# a show killed outright leaves the settings for the next one to put back.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
SHOW_WRAPPER=(env --default-signal=INT,QUIT)
use_private_xvfb 1024x768 || fail "no Xvfb"
xset s 600
xset +dpms 2>/dev/null
dpms_before="$(dpms_state)"

# held WHEN: the screen saver and DPMS are off.
held() {
  [ "$(xset_timeout)" = 0 ] || fail "$1: screen saver timeout $(xset_timeout), wanted 0"
  [ -z "$dpms_before" ] || [ "$(dpms_state)" = Disabled ] || fail "$1: DPMS $(dpms_state)"
}
released() {
  [ "$(xset_timeout)" = 600 ] || fail "$1: screen saver timeout $(xset_timeout), wanted 600"
  [ "$(dpms_state)" = "$dpms_before" ] || fail "$1: DPMS $(dpms_state), was $dpms_before"
}

for first_to_end in first second; do
  start_show || fail "no first show"
  first="$SHOW_PID"
  held "the first show runs"
  before="$(xdotool search --name '^glZELT$' | wc -l)"
  start_show || fail "no second show"
  second="$SHOW_PID"
  for _ in $(seq 100); do [ "$(xdotool search --name '^glZELT$' | wc -l)" -gt "$before" ] && break; sleep 0.1; done
  held "two shows run"
  if [ "$first_to_end" = first ]; then ending="$first" staying="$second"; else ending="$second" staying="$first"; fi
  kill -TERM "$ending"
  wait_exit "$ending" 30 || fail "a show did not end on SIGTERM"
  held "the $first_to_end show has ended, the other runs"
  kill -TERM "$staying"
  wait_exit "$staying" 30 || fail "a show did not end on SIGTERM"
  released "both shows have ended"
done

# Killed outright, a show cannot put the settings back; the next show that
# ends does, with the ones saved before the killed show switched them off.
start_show || fail "no show"
kill -9 "$SHOW_PID"
wait "$SHOW_PID" 2>/dev/null
start_show || fail "no show after the killed one"
held "the show after a killed one runs"
kill -TERM "$SHOW_PID"
wait_exit "$SHOW_PID" 30 || fail "the show did not end on SIGTERM"
released "the show after a killed one has ended"
echo "two shows: ok"
