#!/bin/bash
# A missing module and a file that is not a module: the "MIDAS" box with
# the library's reason, exit code 1, and no frame of the show drawn.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_common.bash"
export SDL_AUDIODRIVER=dummy

# The show itself: the box by its title, then exit code 1.
make_show_folder
rm "$WORK/show/mod/be_good.mod"
cd "$WORK/show"
start_show || fail "the show window did not appear"
dismiss MIDAS
expect_exit 1

# The same through the traced show, which also shows the box's text and
# that no frame follows it.
check_error() {
  local message="$1"
  start_traced || fail "the traced show did not start"
  dismiss MIDAS
  expect_exit 1
  grep -v '^SystemParametersInfoA' "$WORK/trace.txt" >"$WORK/calls.txt"
  cat >"$WORK/expected.txt" <<END
MIDASstartup() = 1
MIDASsetOption(11, 1) = 1
MIDASinit() = 1
MIDASstartBackgroundPlay(0) = 1
MIDASloadModule("mod\\be_good.mod") = 0
MIDASgetLastError() = library's
MIDASgetErrorMessage(library's)
MessageBoxA("MIDAS", "midas sound error : $message", 16)
MIDASclose() = 1
last exit procedure
END
  diff -u "$WORK/expected.txt" "$WORK/calls.txt" >&2 || fail "wrong calls for '$message'"
}

check_error "module file not found: mod/be_good.mod"
printf 'Merry Christmas\n' >"$WORK/show/mod/be_good.mod"
check_error "not a module file: mod/be_good.mod"
echo "PASS"
