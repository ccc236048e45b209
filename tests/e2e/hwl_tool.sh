#!/bin/bash
# frosten-hwl: encode, decode and info on real PNG files, and one clear line
# with a non-zero exit for unreadable or rejected input.
source "$(dirname "$0")/lib.sh"
TOOL="$BUILD/tools/hwl/frosten-hwl"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || fail "no work folder"

convert rose: -crop 64x32+0+0 +repage -type TrueColor rose.png || fail "convert rose"
"$TOOL" encode rose.png rose.hwl --quality 90 || fail "encode rose"
"$TOOL" decode rose.hwl back.png || fail "decode rose"
[ "$(identify -format '%wx%h %[channels]' back.png)" = "64x32 srgb" ] || fail "decoded rose: $(identify back.png)"
psnr="$(compare -metric PSNR rose.png back.png null: 2>&1 | cut -d' ' -f1)"
echo "rose at quality 90: $(stat -c %s rose.hwl) bytes, $psnr dB"
awk -v p="$psnr" 'BEGIN { exit !(p >= 33) }' || fail "rose PSNR $psnr"
# Red stays red: planes 0, 1, 2 are red, green, blue.
convert -size 32x32 xc:'rgb(220,40,10)' -type TrueColor red.png
"$TOOL" encode red.png red.hwl && "$TOOL" decode red.hwl red2.png || fail "encode red"
[ "$(convert red2.png -format '%[fx:int(255*p{5,5}.r)],%[fx:int(255*p{5,5}.b)]' info:)" = "220,10" ] ||
  fail "red decoded as $(convert red2.png -format '%[pixel:p{5,5}]' info:)"

"$TOOL" info rose.hwl >info.txt || fail "info"
grep -q '^width: 64$' info.txt && grep -q '^height: 32$' info.txt && grep -q '^bitsPerPixel: 24$' info.txt &&
  grep -q '^plane 2: classCount' info.txt || fail "info output: $(cat info.txt)"

# Grey: --grey from colour, and the alpha channel with --alpha; both give grey PNGs.
"$TOOL" encode rose.png grey.hwl --grey --levels 2 && "$TOOL" decode grey.hwl grey.png || fail "grey"
grep -q '^levels: 2$' <("$TOOL" info grey.hwl) || fail "levels option"
[ "$(identify -format '%[channels]' grey.png)" = gray ] || fail "grey PNG: $(identify grey.png)"
convert -size 64x64 gradient:white-black gradient.png
convert rose.png -resize 64x64! gradient.png -alpha off -compose copy_opacity -composite rgba.png
"$TOOL" encode rgba.png alpha.hwl --alpha && "$TOOL" decode alpha.hwl alpha.png || fail "alpha"
convert rgba.png -alpha extract alpha_ref.png
psnr="$(compare -metric PSNR alpha_ref.png alpha.png null: 2>&1 | cut -d' ' -f1)"
awk -v p="$psnr" 'BEGIN { exit !(p >= 35) }' || fail "alpha PSNR $psnr"

# Failures: one line on stderr, non-zero exit, no output file.
expect_failure() {
  local what="$1"; shift
  if "$@" 2>err.txt >/dev/null; then fail "$what: succeeded"; fi
  [ "$(wc -l <err.txt)" -ge 1 ] || fail "$what: no message"
  grep -q 'frosten-hwl' err.txt || grep -q 'usage' err.txt || fail "$what: $(cat err.txt)"
  echo "$what: $(head -1 err.txt)"
}
expect_failure "missing input" "$TOOL" decode nothere.hwl out.png
expect_failure "missing PNG" "$TOOL" encode nothere.png out.hwl
head -c 20 rose.hwl >short.hwl
expect_failure "short header" "$TOOL" decode short.hwl out.png
head -c 200 rose.hwl >cut.hwl
expect_failure "cut streams" "$TOOL" info cut.hwl
printf 'HWL\x00\x00\x20\x00\x08\x00' >zero.hwl && head -c 25 /dev/zero >>zero.hwl
expect_failure "zero width" "$TOOL" decode zero.hwl out.png
convert rose: odd.png
expect_failure "odd sides" "$TOOL" encode odd.png out.hwl --levels 2
expect_failure "bad option" "$TOOL" encode rose.png out.hwl --quality 0
[ ! -e out.png ] && [ ! -e out.hwl ] || fail "output written on failure"
echo "frosten-hwl: all checks passed"
