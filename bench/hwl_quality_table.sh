#!/bin/bash
# Prints HWL size and PSNR at several quality settings beside the lossless PNG
# size and baseline JPEG at about the same size, for ImageMagick's built-in
# images, a synthetic glow sprite and any photographs given as arguments
# (Debian's python3-skimage ships some in /usr/lib/python3/dist-packages/
# skimage/data/).
#
#   bench/hwl_quality_table.sh BUILD_DIR [PHOTO.png ...]
#
# Images are cropped to multiples of 32 pixels so that four levels fit.
# Needs ImageMagick (convert, compare) and libjpeg-turbo-progs (cjpeg, djpeg).
set -euo pipefail
BUILD="${1:?build folder}"
shift
TOOL="$BUILD/tools/hwl/frosten-hwl"
[ -x "$TOOL" ] || { echo "hwl_quality_table: $TOOL not built" >&2; exit 1; }
QUALITIES="${QUALITIES:-20 40 60 80 95}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | awk '{print $1}'; }

# jpeg_near SOURCE.pnm GREY TARGET_BYTES: the baseline JPEG quality whose size
# is closest to the target; prints "quality bytes psnr".
jpeg_near() {
  local src="$1" grey="$2" target="$3" lo=1 hi=100 best="" bestdiff="" q size diff
  local opts=(-baseline -optimize)
  [ "$grey" = 1 ] && opts+=(-grayscale)
  while [ "$lo" -le "$hi" ]; do
    q=$(((lo + hi) / 2))
    cjpeg -quality "$q" "${opts[@]}" "$src" >"$WORK/j.jpg"
    size=$(stat -c %s "$WORK/j.jpg")
    diff=$((size > target ? size - target : target - size))
    if [ -z "$bestdiff" ] || [ "$diff" -lt "$bestdiff" ]; then best=$q; bestdiff=$diff; fi
    if [ "$size" -gt "$target" ]; then hi=$((q - 1)); else lo=$((q + 1)); fi
  done
  cjpeg -quality "$best" "${opts[@]}" "$src" >"$WORK/j.jpg"
  djpeg -pnm "$WORK/j.jpg" >"$WORK/j.pnm"
  echo "$best $(stat -c %s "$WORK/j.jpg") $(psnr "$src" "$WORK/j.pnm")"
}

table_for() {
  local name="$1" source="$2" w h grey
  w=$(identify -format '%w' "$source"); h=$(identify -format '%h' "$source")
  w=$((w / 32 * 32)); h=$((h / 32 * 32))
  if [ "$(identify -format '%[channels]' "$source")" = gray ]; then grey=1; else grey=0; fi
  if [ "$grey" = 1 ]; then
    convert "$source" -crop "${w}x${h}+0+0" +repage -alpha off -type Grayscale "$WORK/in.png"
    convert "$WORK/in.png" pgm:"$WORK/in.pnm"
  else
    convert "$source" -crop "${w}x${h}+0+0" +repage -alpha off -type TrueColor "$WORK/in.png"
    convert "$WORK/in.png" ppm:"$WORK/in.pnm"
  fi
  local png=$(stat -c %s "$WORK/in.png")
  for q in $QUALITIES; do
    "$TOOL" encode "$WORK/in.png" "$WORK/out.hwl" --quality "$q" --levels 4
    "$TOOL" decode "$WORK/out.hwl" "$WORK/out.png"
    local hwl=$(stat -c %s "$WORK/out.hwl") hp=$(psnr "$WORK/in.png" "$WORK/out.png")
    read -r jq jbytes jp <<<"$(jpeg_near "$WORK/in.pnm" "$grey" "$hwl")"
    local note=""
    [ $((jbytes * 100)) -lt $((hwl * 95)) ] && note="  (JPEG tops out below this size)"
    printf '%-10s %4dx%-4d %5s %8d %3d %8d %7.2f   %3d %8d %7.2f %+6.2f%s\n' \
      "$name" "$w" "$h" "$([ $grey = 1 ] && echo grey || echo rgb)" "$png" "$q" "$hwl" "$hp" "$jq" "$jbytes" "$jp" \
      "$(awk -v a="$hp" -v b="$jp" 'BEGIN { print a - b }')" "$note"
  done
}

echo "PSNR in dB over all channels; jq is the baseline JPEG quality whose file size is closest to the HWL file's;"
echo "diff is HWL minus JPEG. png_bytes is the lossless PNG of the same (cropped) picture."
printf '%-10s %-9s %5s %8s %3s %8s %7s   %3s %8s %7s %6s\n' image size type png_bytes Q hwl_bytes hwl_dB jq jpg_bytes jpg_dB diff
for builtin in rose wizard logo; do
  convert "$builtin:" "$WORK/$builtin.png"
  table_for "$builtin" "$WORK/$builtin.png"
done
# A soft glow sprite of the kind the show draws, as synthetic art.
convert -size 256x256 radial-gradient:white-black -type Grayscale "$WORK/glow.png"
table_for glow "$WORK/glow.png"
for photo in "$@"; do
  table_for "$(basename "${photo%.*}")" "$photo"
done
