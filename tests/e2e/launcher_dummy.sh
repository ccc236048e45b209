#!/bin/bash
# Real full-screen game mode on Xorg's dummy video driver, which offers
# several modes, 60 Hz ones among them: the launcher lists them all, selects
# 640x480 by default, Okay switches the screen to 640x480 at 60 Hz and Escape
# switches it back; a mode picked from the list opens a window of its size.
# Skipped (77) where Xorg or its dummy driver is not installed.
source "$(dirname "$0")/lib.sh"
DRIVER="$BUILD/tests/launcher_settings"
XORG="$(command -v Xorg || echo /usr/lib/xorg/Xorg)"
DUMMY_DRV=/usr/lib/xorg/modules/drivers/dummy_drv.so
if [ ! -x "$XORG" ] || [ ! -f "$DUMMY_DRV" ]; then
  echo "SKIP: Xorg with the dummy video driver is not installed"
  exit 77
fi

WORK="$(mktemp -d)"
at_exit "rm -rf $WORK"

# 640x480 and 800x600 at exactly 60 Hz, 1024x768 (the start mode) at 60 Hz.
cat >"$WORK/dummy.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 32768
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 28.0-80.0
  VertRefresh 48.0-75.0
  Modeline "1024x768_60" 65.0 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600_60" 40.0 800 840 968 1056 600 601 605 628 +hsync +vsync
  Modeline "640x480_60" 25.2 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768_60" "800x600_60" "640x480_60"
    Virtual 1024 768
  EndSubSection
EndSection
CONF
mkdir -p "$WORK/conf.d"
start_bg xorg_pid "$XORG" -noreset -nolisten tcp -config "$WORK/dummy.conf" -configdir "$WORK/conf.d" \
  -logfile "$WORK/xorg.log" -displayfd 3 3>"$WORK/display" >/dev/null 2>&1
at_exit "kill $xorg_pid; wait $xorg_pid"
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
if [ ! -s "$WORK/display" ]; then
  echo "SKIP: Xorg with the dummy driver did not start here"
  exit 77
fi
export DISPLAY=":$(cat "$WORK/display")"

# vidmode_current: "WIDTHxHEIGHT CLOCK" of the video mode in use.
vidmode_current() {
  xdpyinfo -ext XFree86-VidModeExtension | awk '/Current Video Mode Setting/ {getline; print $2 "x" $6, $1; exit}'
}

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
