#!/bin/bash
# Cancel in the launcher ends the show with exit code 0 before anything else
# starts: no show window, no box, nothing written. Escape in the launcher is
# no close request and leaves it open.
source "$(dirname "$0")/lib.sh"
ERR="$(mktemp)"
at_exit "rm -f $ERR"

start_bg pid "$BUILD/frosten" 2>"$ERR"
launcher="$(wait_launcher)" || fail "no launcher window"
press "$launcher" Escape
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "Escape ended the launcher"
[ -n "$(xdotool search --name '^glZELT Launcher$')" ] || fail "Escape closed the launcher"

# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_CANCEL
wait_exit "$pid" 20 >/dev/null || fail "Cancel did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after Cancel"
no_window '^glZELT$' || fail "a show window appeared after Cancel"
no_window '^glZELT Launcher$' || fail "the launcher is still there"
[ ! -s "$ERR" ] || fail "output after Cancel: $(cat "$ERR")"
echo "launcher cancel: ok"
