#!/bin/bash
# Real full-screen game mode on Xorg's dummy video driver, which offers
# several modes, 60 Hz ones among them: the launcher lists them all, selects
# 640x480 by default, Okay switches the screen to 640x480 at 60 Hz and Escape
# switches it back; a mode picked from the list opens a window of its size.
# Skipped (77) where Xorg or its dummy driver is not installed.
source "$(dirname "$0")/lib.sh"
DRIVER="$BUILD/tests/launcher_settings"
WORK="$(mktemp -d)"
at_exit "rm -rf $WORK"
use_dummy_xorg "$WORK"
case $? in 0) ;; 77) exit 77 ;; *) fail "Xorg did not start" ;; esac

bits="$(screen_bits)"
expected="$(server_modes)"
listed="$("$DRIVER" --modes | grep -v '^current ')"
[ "$(wc -l <<<"$listed")" -gt 3 ] || fail "few modes listed: $listed"
[ "$listed" = "$expected" ] || fail "mode list differs from xrandr:
$listed
--- xrandr:
$expected"
default_index="$(grep -n -m1 "^640x480:$bits" <<<"$listed" | cut -d: -f1)"
[ -n "$default_index" ] || fail "no 640x480:$bits mode listed"
[ "$(vidmode_current)" = "1024x768 65.00" ] || fail "start mode $(vidmode_current)"

# Defaults as they stand: 640x480:32, Fullscreen. Game mode at 60 Hz.
start_bg pid "$DRIVER" >"$WORK/out"
launcher="$(wait_launcher)" || fail "no launcher window"
press "$launcher" Return
wait_line "$WORK/out" '^settings' 30 || fail "no settings stored"
grep -qx "settings 640x480:$bits fullscreen=1 texcompress=0" "$WORK/out" || fail "stored settings: $(cat "$WORK/out")"
sleep 0.5
[ "$(vidmode_current)" = "640x480 25.20" ] || fail "game mode is $(vidmode_current), wanted 640x480 at 60 Hz"
game="$(wait_window '.' 10)" || fail "no game-mode window"
for w in $(xdotool search --name '.'); do
  [ "$(xdotool getwindowname "$w")" = "glZELT Launcher" ] && fail "launcher still there in game mode"
done
press "$game" Escape
wait_exit "$pid" 20 >/dev/null || fail "Escape did not end game mode"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after Escape"
[ "$(vidmode_current)" = "1024x768 65.00" ] || fail "mode after leaving game mode: $(vidmode_current)"

# The entry above the default, picked from the opened list, in a window.
picked="$(sed -n "$((default_index - 1))p" <<<"$listed")"
start_bg pid "$DRIVER" >"$WORK/out"
launcher="$(wait_launcher)" || fail "no launcher window"
pick_mode "$launcher" Up Return || fail "could not pick a mode from the list"
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_FULLSCREEN
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_OKAY
show="$(wait_window '^glZELT$' 30)" || fail "no show window"
wait_line "$WORK/out" '^settings' 10 || fail "no settings stored"
grep -qx "settings $picked fullscreen=0 texcompress=0" "$WORK/out" || fail "stored settings: $(cat "$WORK/out"), wanted $picked"
read -r w h < <(window_size "$show")
[ "${w}x${h}" = "${picked%%:*}" ] || fail "window $w x $h, wanted ${picked%%:*}"
press "$show" Escape
wait_exit "$pid" 20 >/dev/null || fail "driver did not end"
echo "launcher on the dummy driver: ok ($(wc -l <<<"$listed") modes, game mode 640x480 at 60 Hz)"
