# Shared helpers for the end-to-end scripts. Each script gets the build
# folder as $1 and runs in the source folder (which holds data/ and mod/).
set -u
BUILD="${1:?build folder}"

fail() { echo "FAIL: $*" >&2; exit 1; }

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

# press WINDOW KEY: gives the window the keyboard focus and presses the key.
press() {
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

# start_show [ARGS...]: starts the real show in the background and waits
# until its window "glZELT" is up. Sets SHOW_PID and SHOW_WINDOW; the show's
# output goes to $SHOW_LOG. Call it directly, not inside $(...): the
# background show would hold the substitution open.
start_show() {
  SHOW_LOG="${SHOW_LOG:-$(mktemp)}"
  "$BUILD/frosten" "$@" >"$SHOW_LOG" 2>&1 &
  SHOW_PID=$!
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
