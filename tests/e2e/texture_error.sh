#!/bin/bash
# Texture files that cannot be used: one that decodes to nothing ends the
# program with an "Error" box naming the file and the reason, then the exit
# procedures, then exit code 1; a missing one ends it through the run-time
# error report (code 2).
source "$(dirname "$0")/lib.sh"

dir="$(mktemp -d)"
at_exit "rm -rf $dir"
# A good grey file with its bit depth changed to 16.
cp data/snowflak.hwl "$dir/deep.hwl"
printf '\x10' | dd of="$dir/deep.hwl" bs=1 seek=7 conv=notrunc status=none

# Without a display the box is printed on stderr.
DISPLAY= "$BUILD/tests/texture_error" "$dir/deep.hwl" 2>"$dir/log"
code=$?
[ "$code" = 1 ] || fail "exit code $code for an undecodable file, not 1"
grep -q "^Error: The texture $dir/deep.hwl cannot be used: unsupported bits per pixel" "$dir/log" ||
  fail "no Error report naming the file: $(cat "$dir/log")"
grep -q "exit procedure ran" "$dir/log" || fail "exit procedures did not run"
grep -q loaded "$dir/log" && fail "the program went on after the error"

# An alpha image of another size: the alpha file is named.
DISPLAY= "$BUILD/tests/texture_error" 'data\xmastree.hwl' 'data\snowflak.hwl' 2>"$dir/log"
code=$?
[ "$code" = 1 ] || fail "exit code $code for a mismatched alpha file, not 1"
grep -q '^Error: The texture data\\snowflak.hwl cannot be used: the alpha image is 128x128' "$dir/log" ||
  fail "no Error report for the alpha file: $(cat "$dir/log")"

# A missing file is a run-time error.
DISPLAY= "$BUILD/tests/texture_error" 'data\no-such-texture.hwl' 2>"$dir/log"
code=$?
[ "$code" = 2 ] || fail "exit code $code for a missing file, not 2"

# On the display: an "Error" box, dismissed with Return.
"$BUILD/tests/texture_error" "$dir/deep.hwl" 2>"$dir/log" &
pid=$!
at_exit "kill -9 $pid 2>/dev/null"
box="$(wait_window '^Error$' 30)" || fail "no Error box"
grep -q "exit procedure ran" "$dir/log" && fail "exit procedures ran before the box was dismissed"
press "$box" Return
wait_exit "$pid" 20 || fail "process did not end after the box"
[ "$EXIT_CODE" = "1" ] || fail "exit code $EXIT_CODE after the box, not 1"
grep -q "exit procedure ran" "$dir/log" || fail "exit procedures did not run after the box"
echo "ok"
