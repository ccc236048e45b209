#!/bin/bash
# Regenerates the show's image files: draws the sources, encodes each into
# OUT_DIR/NAME.hwl, decodes it again for the size and PSNR table and, when
# asked, for the contact sheet.
#
# usage: images.sh IMAGEGEN HWL WORK_DIR OUT_DIR [SHEET.png]
set -euo pipefail
if [ $# -lt 4 ] || [ $# -gt 5 ]; then
  echo "usage: images.sh IMAGEGEN HWL WORK_DIR OUT_DIR [SHEET.png]" >&2
  exit 2
fi
imagegen=$1 hwl=$2 work=$3 out=$4 sheet=${5:-}
mkdir -p "$work/source" "$work/decoded" "$out"
"$imagegen" draw "$work/source"
"$imagegen" list > "$work/list.txt"
while read -r name options; do
  # shellcheck disable=SC2086  # options are several words
  "$hwl" encode "$work/source/$name.png" "$out/$name.hwl" $options
  "$hwl" decode "$out/$name.hwl" "$work/decoded/$name.png"
done < "$work/list.txt"
"$imagegen" report "$work/source" "$work/decoded" "$out" > "$work/report.md"
cat "$work/report.md"
if [ -n "$sheet" ]; then
  "$imagegen" sheet "$work/decoded" "$out" "$sheet"
fi
