#!/bin/bash
# The camera loop at a glance: the running show at ticks 0, 100, ..., 2100,
# captured at 480 x 360 and laid out six by four, each labelled with its
# tick. Run from the source folder (the show reads data/ by relative paths).
#
# usage: loop_sheet.sh CAPTURE WORK_DIR SHEET.png
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: loop_sheet.sh CAPTURE WORK_DIR SHEET.png" >&2
  exit 2
fi
capture=$1 work=$2 sheet=$3
rm -rf "$work"
mkdir -p "$work"
SDL_AUDIODRIVER=dummy "$capture" --size 480x360 --from 0 --to 2200 --step 100 --png "$work"
labelled=()
for frame in "$work"/tick-*.png; do
  tick=$(basename "$frame" .png)
  tick=$((10#${tick#tick-}))
  convert "$frame" -gravity southwest -fill white -undercolor '#00000080' \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
    -pointsize 14 -annotate +5+5 " tick $tick " "$work/label-$(basename "$frame")"
  labelled+=("$work/label-$(basename "$frame")")
done
montage "${labelled[@]}" -tile 6x4 -geometry +3+3 -background '#202028' "$work/sheet.png"
# 255 colours keep the sheet small; the snow and the ground's grain defeat
# the compression of full colour.
convert "$work/sheet.png" -colors 255 -define png:compression-level=9 "$sheet"
echo "$sheet: ${#labelled[@]} frames"
