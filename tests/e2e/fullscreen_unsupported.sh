#!/bin/bash
# A full-screen mode the X server cannot do at 60 Hz: the box titled with the
# game-mode string, and once dismissed the process ends with 1.
source "$(dirname "$0")/lib.sh"

for mode in "640 480 32:640x480:32@60" "800 600 16:800x600:16@60"; do
  args="${mode%%:*}"
  title="${mode#*:}"
  # shellcheck disable=SC2086
  "$BUILD/tests/open_display" $args 1 &
  pid=$!
  box="$(wait_window "^${title}\$" 30)" || fail "no box titled $title"
  no_window '^glZELT$' || fail "a show window opened although the mode is not supported"
  press "$box" Return
  wait_exit "$pid" 20 || fail "process did not end after the box"
  [ "$EXIT_CODE" = "1" ] || fail "exit code $EXIT_CODE after the failure box, not 1"
done
echo "ok"
