#!/bin/bash
# Draws eight ticks of the show with frosten-capture (run from the folder
# that holds data/) and lays them out as a contact sheet, each picture
# labelled with its tick.
#
# usage: frames_sheet.sh CAPTURE SHEET.png [FROM STEP]
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 4 ]; then
  echo "usage: frames_sheet.sh CAPTURE SHEET.png [FROM STEP]" >&2
  exit 2
fi
capture=$1 sheet=$2 from=${3:-0} step=${4:-300}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$capture" --size 640x480 --from "$from" --to $((from + 8 * step)) --step "$step" --png "$work"
args=()
for f in "$work"/tick-*.png; do
  tick="$(basename "$f" .png)"
  args+=(-label "tick ${tick#tick-}" "$f")
done
montage "${args[@]}" -tile 4x2 -geometry 320x240+4+4 -font DejaVu-Sans -pointsize 14 "$sheet"
