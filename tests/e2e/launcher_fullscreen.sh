#!/bin/bash
# Okay with Fullscreen checked on an X server that cannot change its mode
# (Xvfb has no video-mode extension): the "NOT supported!" box titled with
# the game-mode string, then the program ends with exit code 1.
source "$(dirname "$0")/lib.sh"
DRIVER="$BUILD/tests/launcher_settings"
OUT="$(mktemp)"
at_exit "rm -f $OUT"

if xdpyinfo -queryExtensions | grep -q XFree86-VidModeExtension; then
  echo "SKIP: this X server can change its video mode"
  exit 77
fi
bits="$(screen_bits)"
read -r screen_w screen_h < <(screen_size)
chosen="$("$DRIVER" --modes | grep -m1 "^640x480:$bits")"
[ -n "$chosen" ] || chosen="${screen_w}x${screen_h}:$bits"

start_bg pid "$DRIVER" >"$OUT"
launcher="$(wait_launcher)" || fail "no launcher window"
press "$launcher" Return
box="$(wait_window '@60$' 20)" || fail "no box after Okay in full-screen mode"
[ "$(xdotool getwindowname "$box")" = "$chosen@60" ] || fail "box title $(xdotool getwindowname "$box"), wanted $chosen@60"
no_window '^glZELT$' || fail "a show window opened"
press "$box" Return
wait_exit "$pid" 20 >/dev/null || fail "program did not end after the box"
[ "$EXIT_CODE" = 1 ] || fail "exit code $EXIT_CODE after the box"
[ ! -s "$OUT" ] || fail "settings printed although the display did not open: $(cat "$OUT")"
echo "launcher fullscreen: ok"
