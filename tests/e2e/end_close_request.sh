#!/bin/bash
# The window manager's close button on the show's window ends the show as
# Escape does: the credits box, exit status 0, and the screen saver's timeout
# back as it was.
source "$(dirname "$0")/lib.sh"
use_private_xvfb 1024x768 || fail "no Xvfb"
export SDL_AUDIODRIVER=dummy

xset s 600
start_show || fail "no show window"
[ "$(xset_timeout)" = 0 ] || fail "screen saver timeout $(xset_timeout) while the show runs"
"$BUILD/tests/close_request" "$SHOW_WINDOW" || fail "could not send the close request"
box="$(wait_window '^FROSTEN 2000$' 30)" || fail "no credits box after the close request"
kill -0 "$SHOW_PID" 2>/dev/null || fail "the show ended before the credits box was dismissed"
press "$box" Return
wait_exit "$SHOW_PID" 30 || fail "the show did not end after the credits box"
[ "$EXIT_CODE" = 0 ] || fail "exit status $EXIT_CODE after the close request"
[ "$(xset_timeout)" = 600 ] || fail "screen saver timeout $(xset_timeout) after the end, wanted 600"
echo "close request: ok"
