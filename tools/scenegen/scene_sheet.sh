#!/bin/bash
# The scene's contact sheet: the running show at ticks 0, 275, ..., 1925 of
# the camera loop, captured at 640 x 480 and put side by side, four by two,
# each labelled with its tick. Run from the source folder (the show reads
# data/ by relative paths).
#
# usage: scene_sheet.sh CAPTURE WORK_DIR SHEET.png
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: scene_sheet.sh CAPTURE WORK_DIR SHEET.png" >&2
  exit 2
fi
capture=$1 work=$2 sheet=$3
rm -rf "$work"
mkdir -p "$work"
SDL_AUDIODRIVER=dummy "$capture" --size 640x480 --from 0 --to 2200 --step 275 --png "$work"
labelled=()
for frame in "$work"/tick-*.png; do
  tick=$(basename "$frame" .png)
  tick=$((10#${tick#tick-}))
  convert "$frame" -resize 480x360 -gravity southwest -fill white -undercolor '#00000080' \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
    -pointsize 16 -annotate +6+6 " tick $tick " "$work/label-$(basename "$frame")"
  labelled+=("$work/label-$(basename "$frame")")
done
montage "${labelled[@]}" -tile 4x2 -geometry +3+3 -background '#202028' "$work/sheet.png"
# 255 colours keep the sheet under a megabyte; the snow and the ground's grain
# defeat the compression of full colour.
convert "$work/sheet.png" -colors 255 -define png:compression-level=9 "$sheet"
echo "$sheet: ${#labelled[@]} frames"
