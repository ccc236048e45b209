#!/bin/bash
# Choices made in the launcher survive a visit to another window; a close
# request from the window manager stores them like Okay, and the Return key
# presses Okay.
source "$(dirname "$0")/lib.sh"
DRIVER="$BUILD/tests/launcher_settings"
OUT="$(mktemp)"
at_exit "rm -f $OUT"

bits="$(screen_bits)"
read -r screen_w screen_h < <(screen_size)
chosen="$("$DRIVER" --modes | grep -m1 "^640x480:$bits")"
[ -n "$chosen" ] || chosen="${screen_w}x${screen_h}:$bits"

# Fullscreen off, TexCompress on, then another window takes the focus and
# gives it back; the close request comes from outside.
start_bg pid "$DRIVER" >"$OUT"
launcher="$(wait_launcher)" || fail "no launcher window"
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_FULLSCREEN
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_TEXCOMPRESS
start_bg other_pid xmessage -name other -geometry +0+0 "another window"
other="$(wait_window '^other$' 20)" || fail "no other window"
xdotool windowfocus "$other"
click "$other" 10 10
sleep 0.3
xdotool windowfocus "$launcher"
sleep 0.3
"$BUILD/tests/close_request" "$launcher" || fail "close request not sent"
show="$(wait_window '^glZELT$' 30)" || fail "no show window after the close request"
wait_line "$OUT" '^settings' 10 || fail "no settings stored"
grep -qx "settings $chosen fullscreen=0 texcompress=1" "$OUT" || fail "stored settings: $(cat "$OUT")"
press "$show" Escape
wait_exit "$pid" 20 >/dev/null || fail "driver did not end"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"

# Return is Okay.
start_bg pid "$DRIVER" >"$OUT"
launcher="$(wait_launcher)" || fail "no launcher window"
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_FULLSCREEN
press "$launcher" Return
show="$(wait_window '^glZELT$' 30)" || fail "no show window after Return"
wait_line "$OUT" '^settings' 10 || fail "no settings stored"
grep -qx "settings $chosen fullscreen=0 texcompress=0" "$OUT" || fail "stored settings after Return: $(cat "$OUT")"
press "$show" Escape
wait_exit "$pid" 20 >/dev/null || fail "driver did not end"
echo "launcher choices: ok"
