#!/bin/bash
# The show opens its window, switches the screen saver off while it runs,
# ignores every key but Escape, and ends with 0 on Escape.
source "$(dirname "$0")/lib.sh"

xset s 300 600
trap 'xset s default' EXIT
start_show || fail "no window titled glZELT"
window="$SHOW_WINDOW"
geometry="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
[ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"
[ "$(xset_timeout)" = "0" ] || fail "screen saver still on while the show runs"

for key in a Return space Tab BackSpace Delete F1 ctrl+c q; do press "$window" "$key"; done
sleep 0.5
kill -0 "$SHOW_PID" 2>/dev/null || fail "a key other than Escape ended the show"

end_show "$window" || fail "the show did not end after Escape"
[ "$EXIT_CODE" = "0" ] || fail "exit code $EXIT_CODE after Escape"
[ "$(xset_timeout)" = "300" ] || fail "screen saver timeout $(xset_timeout) after the show, not 300"
echo "ok"
