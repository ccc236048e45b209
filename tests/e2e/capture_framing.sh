#!/bin/bash
# frosten-capture at sizes that are not 4:3: the show's 4:3 picture centred
# between black bars, the same pixels as a 4:3 capture of the tick; with
# --stretch the picture fills the size; the default video is 1920x1080
# with the picture 1440x1080 in its middle.
source "$(dirname "$0")/lib.sh"
CAPTURE="$(cd "$BUILD" && pwd)/tools/capture/frosten-capture"
[ -x "$CAPTURE" ] || fail "no $CAPTURE"
command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null || fail "ffmpeg is not installed (scripts/setup)"
OUT="$(mktemp -d)"
at_exit "rm -rf '$OUT'"

# The largest value of any channel in a part of a picture (0 to 255).
most() { convert "$1" -crop "$2" +repage -format '%[fx:int(255*maxima)]' info:; }
least() { convert "$1" -crop "$2" +repage -format '%[fx:int(255*minima)]' info:; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

for size in 640x360 480x360 360x480 360x270; do
  "$CAPTURE" --size "$size" --from 300 --png "$OUT/$size" || fail "capture at $size failed"
done
"$CAPTURE" --size 640x360 --stretch --from 300 --png "$OUT/stretch" || fail "stretched capture failed"
wide="$OUT/640x360/tick-000300.png" tall="$OUT/360x480/tick-000300.png"

# 16:9: bars left and right, the middle a 4:3 capture pixel for pixel.
[ "$(most "$wide" 80x360+0+0)" = 0 ] || fail "the left bar is not black"
[ "$(most "$wide" 80x360+560+0)" = 0 ] || fail "the right bar is not black"
convert "$wide" -crop 480x360+80+0 +repage "$OUT/middle.png"
[ "$(differing "$OUT/middle.png" "$OUT/480x360/tick-000300.png")" = 0 ] \
  || fail "the 16:9 capture's picture differs from the 4:3 capture in $(differing "$OUT/middle.png" "$OUT/480x360/tick-000300.png") pixels"
[ "$(least "$wide" 1x360+80+0)" -gt 0 ] || fail "the picture's first column is black"
# 3:4: bars above and below; the picture in between (the GL samples rows of
# a taller window a little differently, so it is not compared pixel for pixel).
[ "$(most "$tall" 360x105+0+0)" = 0 ] || fail "the upper bar is not black"
[ "$(most "$tall" 360x105+0+375)" = 0 ] || fail "the lower bar is not black"
[ "$(least "$tall" 360x1+0+105)" -gt 0 ] || fail "the picture's first row is black"
# Stretched: no bars, the picture over all of it.
[ "$(least "$OUT/stretch/tick-000300.png" 1x360+0+0)" -gt 0 ] || fail "a stretched capture has a black edge"

# The default video: 1920x1080, black bars of 240 pixels beside the picture.
"$CAPTURE" --from 600 --to 601 --video "$OUT/d.mp4" 2>/dev/null || fail "default video failed"
size="$(ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0 "$OUT/d.mp4")"
[ "$size" = "1920,1080" ] || fail "default video is $size"
ffmpeg -v error -y -i "$OUT/d.mp4" -frames:v 1 "$OUT/d.png" || fail "the video does not decode"
# Black after H.264's 4:2:0 colour, away from the picture's edge.
[ "$(most "$OUT/d.png" 232x1080+0+0)" -le 8 ] || fail "the default video's left bar is not black"
[ "$(most "$OUT/d.png" 232x1080+1688+0)" -le 8 ] || fail "the default video's right bar is not black"
[ "$(least "$OUT/d.png" 16x1080+240+0)" -gt 8 ] || fail "the default video's picture does not start at 240"
echo "capture_framing: ok"
