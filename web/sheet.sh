#!/bin/bash
# The browser's pictures next to the native ones: runs the browser test
# (tests/web/browser.sh, after scripts/web) keeping its pictures of ticks 0,
# 700 and 1400, and lays them out in pairs, native left, browser right.
#
# usage: web/sheet.sh BUILD SHEET.png      (e.g. build/release docs/web.png)
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: web/sheet.sh BUILD SHEET.png" >&2
  exit 2
fi
build=$1 sheet=$2
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
WEB_KEEP="$work" "$(dirname "$0")/../tests/web/browser.sh" "$build"
args=()
for tick in 000000 000700 001400; do
  args+=(-label "native, tick $((10#$tick))" "$work/native/tick-$tick.png")
  args+=(-label "browser, tick $((10#$tick))" "$work/browser/tick-$tick.png")
done
montage "${args[@]}" -tile 2x3 -geometry 480x360+4+4 -font DejaVu-Sans -pointsize 14 -depth 8 "$sheet"
