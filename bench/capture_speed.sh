#!/bin/bash
# Capture speed of frosten-capture --video at 640x480 and 1280x720: frames a
# second, and where the time goes (drawing, read-back, waiting for ffmpeg,
# finishing the file), once as it runs (ffmpeg encodes on the other core
# while the next frames are drawn) and once serially (ffmpeg stands in for a
# program that takes all frames first and encodes them afterwards).
#
# usage: bench/capture_speed.sh [BUILD [FRAMES]]   (run in the source folder)
set -euo pipefail
build="${1:-build/release}" frames="${2:-120}"
capture="$(cd "$build" && pwd)/tools/capture/frosten-capture"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The serial stand-in: takes every frame into a file, then runs ffmpeg on it.
cat >"$work/serial-ffmpeg" <<SH
#!/bin/sh
cat >"$work/frames.raw"
ffmpeg "\$@" <"$work/frames.raw"
status=\$?
rm -f "$work/frames.raw"
exit \$status
SH
chmod +x "$work/serial-ffmpeg"
echo "$frames frames from tick 600 at 60 fps; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for size in 640x480 1280x720; do
  for mode in parallel serial; do
    ffmpeg_program=ffmpeg
    [ "$mode" = serial ] && ffmpeg_program="$work/serial-ffmpeg"
    FROSTEN_FFMPEG="$ffmpeg_program" "$capture" --size "$size" --from 600 --to $((600 + frames)) \
      --video "$work/v.mp4" 2>"$work/log"
    printf '%-9s %-8s %s\n' "$size" "$mode" "$(tail -1 "$work/log" | sed 's/^frosten-capture: [^:]*: //')"
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
