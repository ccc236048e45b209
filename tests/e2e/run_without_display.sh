#!/bin/bash
# scripts/run without a display says so in one line and fails.
source "$(dirname "$0")/lib.sh"

out="$(env -u DISPLAY scripts/run 2>&1)"
code=$?
[ "$code" -ne 0 ] || fail "scripts/run succeeded without a display"
[ "$(echo "$out" | wc -l)" = "1" ] || fail "more than one line: $out"
echo "$out" | grep -qi "display" || fail "the line does not mention the display: $out"
out="$(DISPLAY=:999 scripts/run 2>&1)"
[ $? -ne 0 ] || fail "scripts/run succeeded with a display that does not exist"
echo "$out" | tail -1 | grep -qi "display" || fail "no display message for :999: $out"
echo "ok"
