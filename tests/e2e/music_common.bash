# Shared steps of the music end-to-end scripts (sourced after lib.sh).
# The show runs in a scratch folder laid out like the source folder: the
# source's data/ and, as mod/be_good.mod, the show's own module or, where
# there is none, a small test module.

BUILD="$(cd "$BUILD" && pwd)"
SOURCE="$PWD"
TOOL="$BUILD/tests/module_tool"
WORK="$(mktemp -d /tmp/frosten_music_e2e_XXXXXX)"
SHOW_PID=""
RESTORE_SAVER=""
trap '[ -n "$SHOW_PID" ] && kill -9 "$SHOW_PID" 2>/dev/null; [ -n "$RESTORE_SAVER" ] && xset s default; rm -rf "$WORK"' EXIT

# make_show_folder: the scratch folder with a fresh copy of the module.
make_show_folder() {
  rm -rf "$WORK/show"
  mkdir -p "$WORK/show/mod"
  if [ -d "$SOURCE/data" ]; then ln -s "$SOURCE/data" "$WORK/show/data"; else mkdir "$WORK/show/data"; fi
  if [ -f "$SOURCE/mod/be_good.mod" ]; then
    cp "$SOURCE/mod/be_good.mod" "$WORK/show/mod/be_good.mod"
  else
    "$TOOL" write "$WORK/show/mod/be_good.mod" || fail "could not write the test module"
  fi
}

# start_traced: start_show with the traced show (tests/drivers/music_traced)
# in place of the show; its trace goes to $WORK/trace.txt.
start_traced() {
  mkdir -p "$WORK/traced"
  ln -sf "$BUILD/tests/music_traced" "$WORK/traced/frosten"
  rm -f "$WORK/trace.txt"
  export MUSIC_TRACE="$WORK/trace.txt"
  BUILD="$WORK/traced" start_show
}

# expect_trace FILE: the trace equals the lines in FILE.
expect_trace() {
  if ! diff -u "$1" "$WORK/trace.txt" >&2; then fail "the trace differs from the expected calls"; fi
}

# dismiss TITLE: waits for the box of that title and presses Return in it.
dismiss() {
  local box
  box="$(wait_window "^$1\$" 30)" || fail "no box titled '$1'"
  press "$box" Return
}

# expect_exit CODE
expect_exit() {
  wait_exit "$SHOW_PID" 30 || fail "the show did not end"
  [ "$EXIT_CODE" = "$1" ] || fail "exit code $EXIT_CODE, expected $1"
  SHOW_PID=""
}
