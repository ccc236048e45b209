#!/bin/bash
# frosten-saver as the only client of an X server that resets when its last
# client leaves (a kiosk's xinit): ten starts, ten windows showing the scene.
source "$(dirname "$0")/lib.sh"
WORK="$(mktemp -d)"
at_exit "rm -rf $WORK"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
at_exit "kill $! 2>/dev/null; wait $! 2>/dev/null"
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "no Xvfb"
export DISPLAY=":$(cat "$WORK/display")"

for start in $(seq 10); do
  # Nothing else is connected while the saver starts.
  "$BUILD/tools/saver/frosten-saver" --window 2>"$WORK/err" &
  pid=$!
  at_exit "kill -9 $pid 2>/dev/null"
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "start $start: the saver ended: $(cat "$WORK/err")"
  window="$(wait_window '^frosten-saver$' 60)" || fail "start $start: no saver window"
  # The first frame comes after the scene has loaded.
  colours=0
  for _ in $(seq 60); do
    import -window "$window" "$WORK/saver-$start.png" 2>/dev/null &&
      colours="$(identify -format %k "$WORK/saver-$start.png")" && [ "$colours" -gt 100 ] && break
    sleep 1
  done
  [ "$colours" -gt 100 ] || fail "start $start: a picture of $colours colours, not the scene"
  kill -TERM "$pid"
  wait_exit "$pid" 10 || fail "start $start: the saver did not end"
  echo "start $start: a picture of $colours colours"
done
echo "ten starts: ok"
