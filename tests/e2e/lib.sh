# Shared helpers for the end-to-end scripts. Each script gets the build
# folder as $1 and runs in the source folder (which holds data/ and mod/).
set -u
BUILD="${1:?build folder}"
# Should a script pick SDL's disk audio driver without naming its file, the
# file lands in the build folder, not in the source tree.
export SDL_DISKAUDIOFILE="${SDL_DISKAUDIOFILE:-$BUILD/sdlaudio.raw}"

fail() { echo "FAIL: $*" >&2; exit 1; }

# at_exit COMMAND: runs the command when the script ends, however it ends
# (programs left running would hold the test's output open and disturb the
# next test's windows). Commands run last registered first.
AT_EXIT=()
at_exit() { AT_EXIT=("$1" "${AT_EXIT[@]}"); }
run_at_exit() {
  local command
  for command in "${AT_EXIT[@]}"; do eval "$command" 2>/dev/null; done
}
trap run_at_exit EXIT

# start_bg VAR COMMAND...: starts the command in the background, stores its
# pid in VAR and has it killed when the script ends.
start_bg() {
  local var="$1"; shift
  "$@" &
  printf -v "$var" '%s' "$!"
  at_exit "kill -9 $! 2>/dev/null"
}

# wait_line FILE REGEX [SECONDS]: waits until a line of the file matches.
wait_line() {
  local file="$1" regex="$2" seconds="${3:-30}"
  for _ in $(seq $((seconds * 10))); do
    grep -qE "$regex" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# wait_window REGEX [SECONDS]: prints the id of the first window whose
# name matches, or fails after the timeout.
wait_window() {
  local regex="$1" seconds="${2:-30}" id
  for _ in $(seq $((seconds * 10))); do
    id="$(xdotool search --name "$regex" 2>/dev/null | head -1)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# no_window REGEX: true when no window of that name exists.
no_window() { [ -z "$(xdotool search --name "$1" 2>/dev/null)" ]; }

# press WINDOW KEY: waits until the window is on screen, gives it the
# keyboard focus and presses the key.
press() {
  for _ in $(seq 100); do
    xwininfo -id "$1" 2>/dev/null | grep -q IsViewable && break
    sleep 0.1
  done
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  xdotool key --clearmodifiers "$2"
}

# wait_exit PID [SECONDS]: waits for a background process of this shell and
# sets EXIT_CODE; kills it and fails when it does not end in time. Call it
# directly, not inside $(...), where the process is not a child.
wait_exit() {
  local pid="$1" seconds="${2:-30}"
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      EXIT_CODE=$?
      return 0
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  EXIT_CODE=
  return 1
}

# click WINDOW X Y: clicks the left button at a point of the window.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.2
}

# Points inside the launcher's controls, in window coordinates.
LAUNCHER_MODE_LIST="70 50"
LAUNCHER_FULLSCREEN="20 80"
LAUNCHER_TEXCOMPRESS="20 100"
LAUNCHER_OKAY="35 192"
LAUNCHER_CANCEL="105 192"

# visible_windows: how many windows are on screen.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }

# pick_mode LAUNCHER KEYS...: opens the launcher's mode list, presses the
# keys in it (Up, Down, Return ...) and waits until it has closed again.
pick_mode() {
  local launcher="$1" before
  shift
  before="$(visible_windows)"
  # shellcheck disable=SC2086
  click "$launcher" $LAUNCHER_MODE_LIST
  for _ in $(seq 100); do [ "$(visible_windows)" -gt "$before" ] && break; sleep 0.1; done
  [ "$(visible_windows)" -gt "$before" ] || return 1
  xdotool key "$@"
  for _ in $(seq 100); do [ "$(visible_windows)" -le "$before" ] && return 0; sleep 0.1; done
  return 1
}

# wait_launcher: waits for the launcher window "glZELT Launcher" and prints
# its id.
wait_launcher() { wait_window '^glZELT Launcher$' 60; }

# pass_launcher: waits for the launcher, unchecks Fullscreen and presses
# Okay, so that the show opens a window of the default or current mode.
pass_launcher() {
  local launcher
  launcher="$(wait_launcher)" || { echo "no launcher window" >&2; return 1; }
  # shellcheck disable=SC2086
  click "$launcher" $LAUNCHER_FULLSCREEN
  # shellcheck disable=SC2086
  click "$launcher" $LAUNCHER_OKAY
}

# SHOW_WRAPPER: a command that start_show puts in front of the show, such as
# (env --default-signal=INT,QUIT): a background job of a script starts with
# those two signals ignored, and the show leaves ignored signals alone.
SHOW_WRAPPER=()

# start_show [ARGS...]: starts the real show in the background, passes
# through the launcher in window mode and waits until the show's window
# "glZELT" is up. Sets SHOW_PID and SHOW_WINDOW; the show's output goes to
# $SHOW_LOG; the show is killed when the script ends, should it still run.
# Call it directly, not inside $(...): the background show would hold the
# substitution open.
start_show() {
  SHOW_LOG="${SHOW_LOG:-$(mktemp)}"
  "${SHOW_WRAPPER[@]}" "$BUILD/frosten" "$@" >"$SHOW_LOG" 2>&1 &
  SHOW_PID=$!
  at_exit "kill -9 $SHOW_PID 2>/dev/null"
  SHOW_WINDOW=""
  pass_launcher || return 1
  SHOW_WINDOW="$(wait_window '^glZELT$' 60)"
}

# end_show WINDOW: presses Escape in the show, dismisses the credits box if
# one appears, and waits for the show to end (sets EXIT_CODE, as wait_exit).
end_show() {
  press "$1" Escape
  local box
  for _ in $(seq 100); do
    kill -0 "$SHOW_PID" 2>/dev/null || break
    box="$(xdotool search --name '^FROSTEN 2000$' 2>/dev/null | head -1)"
    if [ -n "$box" ]; then press "$box" Return; break; fi
    sleep 0.1
  done
  wait_exit "$SHOW_PID" 30
}

# xset_timeout: the screen-saver timeout the X server reports.
xset_timeout() { xset q | sed -n 's/.*timeout: *\([0-9-]*\).*/\1/p'; }

# dpms_state: "Enabled" or "Disabled", or nothing where the server has no DPMS.
dpms_state() { xset q | sed -n 's/.*DPMS is \([A-Za-z]*\).*/\1/p'; }

# screen_bits: bits per pixel of the X server's default depth.
screen_bits() {
  local depth
  depth="$(xdpyinfo | awk '/depth of root window:/ {print $5; exit}')"
  xdpyinfo | awk -v d="$depth" '$1 == "depth" && $2 == d"," {print $4; exit}' | tr -d ,
}

# server_modes: the modes of the primary (else first connected) output as
# xrandr reports them, one "WIDTHxHEIGHT:BITS" a line, in the server's order.
server_modes() {
  local output bits
  output="$(xrandr | awk '$2 == "connected" && $3 == "primary" {print $1; exit}')"
  [ -n "$output" ] || output="$(xrandr | awk '$2 == "connected" {print $1; exit}')"
  bits="$(screen_bits)"
  xrandr --verbose | awk -v out="$output" -v bits="$bits" '
    /^[^ \t]/ { inside = ($1 == out && $2 == "connected"); next }
    inside && $1 == "h:" && $2 == "width" { w = $3 }
    inside && $1 == "v:" && $2 == "height" { print w "x" $3 ":" bits }'
}

# screen_size: "WIDTH HEIGHT" of the screen.
screen_size() { xdpyinfo | awk '/dimensions:/ {split($2, s, "x"); print s[1], s[2]; exit}'; }

# window_size WINDOW: "WIDTH HEIGHT" of a window.
window_size() { xdotool getwindowgeometry "$1" | awk '/Geometry:/ {split($2, s, "x"); print s[1], s[2]}'; }

# launcher_mode: the mode the launcher takes when left as it is: the first
# listed 640x480 mode at the screen's bits per pixel, else the current mode
# ("WIDTHxHEIGHT:BITS").
launcher_mode() {
  local bits mode w h
  bits="$(screen_bits)"
  mode="$(server_modes | grep -m1 "^640x480:$bits")"
  if [ -z "$mode" ]; then
    read -r w h < <(screen_size)
    mode="${w}x${h}:$bits"
  fi
  echo "$mode"
}

# use_private_xvfb WIDTHxHEIGHT: starts an Xvfb of its own with one screen of
# that size (depth 24), points DISPLAY at it and stops it when the script
# ends. Xvfb offers only its screen size as a mode, so the launcher picks it
# when it is 640x480.
use_private_xvfb() {
  local file
  file="$(mktemp)"
  at_exit "rm -f $file"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$file" 2>/dev/null &
  at_exit "kill $! 2>/dev/null; wait $! 2>/dev/null"
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || return 1
  export DISPLAY=":$(cat "$file")"
}

# use_dummy_xorg DIR: starts Xorg on its dummy video driver, which offers
# several modes (1024x768, the start mode, 800x600 and 640x480, all at
# 60 Hz), with its files in DIR; points DISPLAY at it and stops it when the
# script ends. Returns 77 (say SKIP) where Xorg or the driver is missing or
# does not start here.
use_dummy_xorg() {
  local work="$1" xorg xorg_pid
  xorg="$(command -v Xorg || echo /usr/lib/xorg/Xorg)"
  if [ ! -x "$xorg" ] || [ ! -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
    echo "SKIP: Xorg with the dummy video driver is not installed"
    return 77
  fi
  cat >"$work/dummy.conf" <<'CONF'
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
  mkdir -p "$work/conf.d"
  start_bg xorg_pid "$xorg" -noreset -nolisten tcp -config "$work/dummy.conf" -configdir "$work/conf.d" \
    -logfile "$work/xorg.log" -displayfd 3 3>"$work/display" >/dev/null 2>&1
  at_exit "kill $xorg_pid; wait $xorg_pid"
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ ! -s "$work/display" ]; then
    echo "SKIP: Xorg with the dummy driver did not start here"
    return 77
  fi
  export DISPLAY=":$(cat "$work/display")"
}

# vidmode_current: "WIDTHxHEIGHT CLOCK" of the video mode in use.
vidmode_current() {
  xdpyinfo -ext XFree86-VidModeExtension | awk '/Current Video Mode Setting/ {getline; print $2 "x" $6, $1; exit}'
}
