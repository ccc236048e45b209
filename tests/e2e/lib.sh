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

# wait_exit PID [SECONDS]: waits for the process and prints its exit code;
# kills it and fails when it does not end in time.
wait_exit() {
  local pid="$1" seconds="${2:-30}"
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; echo $?; return 0
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  return 1
}

# start_show [ARGS...]: starts the real show in the background (sets SHOW_PID)
# and waits until its window "glZELT" is up (prints its id).
start_show() {
  "$BUILD/frosten" "$@" &
  SHOW_PID=$!
  wait_window '^glZELT$' 60
}
