#!/bin/bash
# A data file that cannot be read: the exit procedures run, the "Error" box
# shows the report, and the process ends with the I/O error code.
source "$(dirname "$0")/lib.sh"

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
"$BUILD/tests/data_error" 'data\no-such-file.3ds' 2>"$log" &
pid=$!
box="$(wait_window '^Error$' 30)" || fail "no Error box"
grep -q "exit procedure ran" "$log" || fail "exit procedures did not run before the box"
press "$box" Return
wait_exit "$pid" 20 || fail "process did not end after the box"
[ "$EXIT_CODE" = "2" ] || fail "exit code $EXIT_CODE for a missing file, not 2"
grep -q opened "$log" && fail "the program went on after the error"
echo "ok"
