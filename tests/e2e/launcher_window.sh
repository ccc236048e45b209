#!/bin/bash
# The launcher window as it first appears: title, class, size and place, the
# X server's modes in the list with the default selection, then Okay in window
# mode stores the settings and opens the show's window at the chosen size.
source "$(dirname "$0")/lib.sh"
DRIVER="$BUILD/tests/launcher_settings"
OUT="$(mktemp)"
at_exit "rm -f $OUT"

bits="$(screen_bits)"
[ -n "$bits" ] || fail "no bits per pixel from xdpyinfo"

# The list shows exactly the server's modes, repeats included.
expected="$(server_modes)"
listed="$("$DRIVER" --modes | grep -v '^current ')"
[ -n "$expected" ] || fail "xrandr reports no modes"
[ "$listed" = "$expected" ] || fail "mode list differs from xrandr:
$listed
--- xrandr:
$expected"

# The mode Okay must use: the first 640x480:BITS entry, else the current mode.
read -r screen_w screen_h < <(screen_size)
chosen="$(grep -m1 "^640x480:$bits" <<<"$listed")"
[ -n "$chosen" ] || chosen="${screen_w}x${screen_h}:$bits"

start_bg pid "$DRIVER" >"$OUT"
launcher="$(wait_launcher)" || fail "no launcher window"
[ "$(xdotool getwindowname "$launcher")" = "glZELT Launcher" ] || fail "launcher title"
xprop -id "$launcher" WM_CLASS | grep -q '"glZELT_Launcher"' || fail "launcher class: $(xprop -id "$launcher" WM_CLASS)"
read -r w h < <(window_size "$launcher")
[ "$w $h" = "145 235" ] || fail "launcher size $w x $h"
geometry="$(xdotool getwindowgeometry "$launcher" | awk '/Position:/ {print $2}')"
[ "$geometry" = "$(( (screen_w - 145) / 2 )),$(( (screen_h - 235) / 2 ))" ] || fail "launcher not centred: $geometry"

# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_FULLSCREEN
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_OKAY
show="$(wait_window '^glZELT$' 30)" || fail "no show window after Okay"
no_window '^glZELT Launcher$' || fail "launcher still there with the show window"
wait_line "$OUT" '^settings' 10 || fail "no settings stored"
grep -qx "settings $chosen fullscreen=0 texcompress=0" "$OUT" || fail "stored settings: $(cat "$OUT"), wanted $chosen"
read -r w h < <(window_size "$show")
[ "${w}x${h}" = "${chosen%%:*}" ] || fail "show window $w x $h, wanted ${chosen%%:*}"
press "$show" Escape
wait_exit "$pid" 20 >/dev/null || fail "driver did not end on Escape"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after Escape"

# The real show passes through the same launcher.
start_show || fail "the show did not come up through the launcher"
[ -n "$SHOW_WINDOW" ] || fail "no show window"
read -r w h < <(window_size "$SHOW_WINDOW")
kill "$SHOW_PID" 2>/dev/null
[ "${w}x${h}" = "${chosen%%:*}" ] || fail "show window $w x $h, wanted ${chosen%%:*}"
echo "launcher window: ok (${chosen})"

# A server whose one mode is 640x480: that entry is selected from the start.
use_private_xvfb 640x480 || fail "no private Xvfb"
[ "$("$DRIVER" --modes | head -1)" = "640x480:$(screen_bits)" ] || fail "private Xvfb modes: $("$DRIVER" --modes)"
start_bg pid "$DRIVER" >"$OUT"
launcher="$(wait_launcher)" || fail "no launcher window on the private Xvfb"
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_FULLSCREEN
press "$launcher" Return
wait_line "$OUT" '^settings' 30 || fail "no settings stored on the private Xvfb"
grep -qx "settings 640x480:$(screen_bits) fullscreen=0 texcompress=0" "$OUT" || fail "stored settings: $(cat "$OUT")"
show="$(wait_window '^glZELT$' 30)" || fail "no show window on the private Xvfb"
read -r w h < <(window_size "$show")
[ "${w}x${h}" = "640x480" ] || fail "show window $w x $h on the private Xvfb"
echo "launcher window with the default selected: ok"
