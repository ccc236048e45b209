#!/bin/bash
# The command-line tools behave like Unix tools: --help and -h print the
# usage on stdout with status 0, --version the name and version; a usage error prints it on stderr with
# status 2; an option without its value says so; a failed write to stdout
# gives one line and status 1; no message names a path twice; an output that
# would overwrite the input is refused.
source "$(dirname "$0")/lib.sh"
WORK="$(mktemp -d)"
at_exit "rm -rf $WORK"
HWL="$BUILD/tools/hwl/frosten-hwl"
SCENEINFO="$BUILD/tools/sceneinfo/frosten-sceneinfo"
TOOLS=("$HWL" "$SCENEINFO" "$BUILD/tools/proctex/frosten-proctex"
       "$BUILD/tools/imagegen/frosten-imagegen" "$BUILD/tools/modgen/frosten-modgen"
       "$BUILD/tools/capture/frosten-capture" "$BUILD/tools/scenegen/frosten-scenegen")

# run TOOL ARGS...: sets STATUS, and OUT and ERR to the files of its output.
OUT="$WORK/out" ERR="$WORK/err"
run() { "$@" >"$OUT" 2>"$ERR"; STATUS=$?; }

for tool in "${TOOLS[@]}"; do
  name="$(basename "$tool")"
  for help in --help -h; do
    run "$tool" "$help"
    [ "$STATUS" = 0 ] || fail "$name $help: status $STATUS"
    grep -q "^usage: $name" "$OUT" || fail "$name $help: no usage on stdout: $(cat "$OUT")"
    [ ! -s "$ERR" ] || fail "$name $help: stderr $(cat "$ERR")"
  done
  run "$tool" --version
  [ "$STATUS" = 0 ] && grep -qxE "$name [0-9]+\.[0-9]+\.[0-9]+" "$OUT" && [ ! -s "$ERR" ] ||
    fail "$name --version: status $STATUS, $(cat "$OUT" "$ERR")"
  run "$tool" --no-such-option
  [ "$STATUS" = 2 ] || fail "$name --no-such-option: status $STATUS"
  [ ! -s "$OUT" ] || fail "$name usage error: output on stdout"
  grep -q "usage: $name" "$ERR" || fail "$name usage error: no usage on stderr"
  run "$tool"
  [ "$STATUS" = 2 ] || fail "$name without arguments: status $STATUS"
done

# Options without their values.
run "$HWL" encode in.png out.hwl --levels
[ "$STATUS" = 2 ] && grep -qx "frosten-hwl: --levels needs a value" "$ERR" || fail "--levels without value: $(cat "$ERR")"
run "$SCENEINFO" --sample
[ "$STATUS" = 2 ] && grep -qx "frosten-sceneinfo: --sample needs a value" "$ERR" || fail "--sample without value: $(cat "$ERR")"

# stdout on a full device: one line, status 1.
for command in "$HWL info data/flareblu.hwl" "$SCENEINFO tests/data/cube.3ds" \
               "$BUILD/tools/imagegen/frosten-imagegen list" "$BUILD/tools/imagegen/frosten-imagegen --help"; do
  # shellcheck disable=SC2086
  $command >/dev/full 2>"$ERR"
  STATUS=$?
  [ "$STATUS" = 1 ] || fail "$command >/dev/full: status $STATUS"
  [ "$(wc -l <"$ERR")" = 1 ] || fail "$command >/dev/full: $(cat "$ERR")"
  grep -q "cannot write standard output: No space left on device" "$ERR" || fail "$command >/dev/full: $(cat "$ERR")"
done

# The output would overwrite the input: refused, the file left as it was.
cp data/flareblu.hwl "$WORK/a.hwl"
before="$(md5sum <"$WORK/a.hwl")"
for output in "$WORK/a.hwl" "$WORK/../$(basename "$WORK")/a.hwl"; do
  run "$HWL" decode "$WORK/a.hwl" "$output"
  [ "$STATUS" = 2 ] || fail "decode onto its input: status $STATUS"
  grep -q "the output would overwrite the input" "$ERR" || fail "decode onto its input: $(cat "$ERR")"
done
run "$HWL" encode "$WORK/a.hwl" "$WORK/a.hwl"
[ "$STATUS" = 2 ] || fail "encode onto its input: status $STATUS"
[ "$(md5sum <"$WORK/a.hwl")" = "$before" ] || fail "input changed"

# Failures name the path once.
missing="$WORK/no/such/dir/out.png"
for command in "$BUILD/tools/proctex/frosten-proctex tree $missing" "$HWL decode data/flareblu.hwl $missing" \
               "$HWL info $WORK/none.hwl" "$HWL info $WORK" "$SCENEINFO $WORK/none.3ds"; do
  # shellcheck disable=SC2086
  run $command
  [ "$STATUS" = 1 ] || fail "$command: status $STATUS"
  path="${command##* }"
  [ "$(wc -l <"$ERR")" = 1 ] || fail "$command: $(cat "$ERR")"
  [ "$(grep -o -F "$path" "$ERR" | wc -l)" = 1 ] || fail "$command names the path other than once: $(cat "$ERR")"
done
# The show and the saver answer --help and --version without a display; the
# show without one, or on one that refuses it, says so in one line.
for program in "$BUILD/frosten" "$BUILD/tools/saver/frosten-saver"; do
  name="$(basename "$program")"
  run env -u DISPLAY "$program" --help
  [ "$STATUS" = 0 ] && grep -q "^usage: $name" "$OUT" && [ ! -s "$ERR" ] || fail "$name --help: status $STATUS"
  run env -u DISPLAY "$program" --version
  [ "$STATUS" = 0 ] && grep -qxE "$name [0-9]+\.[0-9]+\.[0-9]+" "$OUT" && [ ! -s "$ERR" ] ||
    fail "$name --version: status $STATUS, $(cat "$OUT" "$ERR")"
done
xauth -q -f "$WORK/cookie" add :0 . "$(mcookie)" 2>/dev/null || fail "xauth failed"
Xvfb -displayfd 3 -auth "$WORK/cookie" -nolisten tcp 3>"$WORK/refusing" 2>/dev/null &
at_exit "kill $! 2>/dev/null"
for _ in $(seq 100); do [ -s "$WORK/refusing" ] && break; sleep 0.1; done
for display in "" ":999" ":$(cat "$WORK/refusing")"; do
  run env DISPLAY="$display" XAUTHORITY=/dev/null "$BUILD/frosten"
  expected="frosten: cannot open the X display ${display:-(DISPLAY is not set)}"
  [ "$STATUS" = 1 ] && [ "$(cat "$ERR")" = "$expected" ] ||
    fail "the show on the display '$display': status $STATUS, $(cat "$ERR")"
done
echo "tools: ok"
