#!/bin/bash
# The show's contact sheets, each frame labelled with its tick. Run from the
# source folder (the show reads data/ by relative paths).
#   scene: ticks 0, 275, ..., 1925 of the camera loop, captured at 640 x 480
#          and shown at 480 x 360, four by two (docs/scene.png);
#   loop:  ticks 0, 100, ..., 2100, captured at 480 x 360, six by four
#          (docs/loop.png).
#
# usage: scene_sheet.sh CAPTURE WORK_DIR SHEET.png [scene|loop]
set -euo pipefail
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: scene_sheet.sh CAPTURE WORK_DIR SHEET.png [scene|loop]" >&2
  exit 2
fi
capture=$1 work=$2 sheet=$3 layout=${4:-scene}
case "$layout" in
  scene) size=640x480 step=275 shown=480x360 points=16 margin=+6+6 tile=4x2 ;;
  loop)  size=480x360 step=100 shown=480x360 points=14 margin=+5+5 tile=6x4 ;;
  *) echo "scene_sheet.sh: unknown layout '$layout' (scene, loop)" >&2; exit 2 ;;
esac
rm -rf "$work"
mkdir -p "$work"
SDL_AUDIODRIVER=dummy "$capture" --size "$size" --from 0 --to 2200 --step "$step" --png "$work"
labelled=()
for frame in "$work"/tick-*.png; do
  tick=$(basename "$frame" .png)
  tick=$((10#${tick#tick-}))
  convert "$frame" -resize "$shown" -gravity southwest -fill white -undercolor '#00000080' \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
    -pointsize "$points" -annotate "$margin" " tick $tick " "$work/label-$(basename "$frame")"
  labelled+=("$work/label-$(basename "$frame")")
done
montage "${labelled[@]}" -tile "$tile" -geometry +3+3 -background '#202028' "$work/sheet.png"
# 255 colours keep the sheet small; the snow and the ground's grain defeat
# the compression of full colour.
convert "$work/sheet.png" -colors 255 -define png:compression-level=9 "$sheet"
echo "$sheet: ${#labelled[@]} frames"
