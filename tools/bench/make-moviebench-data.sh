#!/usr/bin/env bash
# The movie benchmark's scene (moviebench.exe --play): 10 s of 1080i AVCHD-like MPEG-TS,
# H.264 at 17 Mbit/s (fields top first, 29.97 frames a second) with AC-3 sound, noisy
# enough that the rate is really spent. Debian's ffmpeg; skipped when present.
#   make-moviebench-data.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
[ -s "$out/avchd-1080i.mts" ] && exit 0
ffmpeg -v error -y -f lavfi -i "testsrc2=duration=10:size=1920x1080:rate=30000/1001" \
  -f lavfi -i "sine=frequency=440:duration=10:sample_rate=48000" \
  -vf "noise=alls=12:allf=t" -c:v libx264 -preset veryfast -b:v 17M -minrate 17M -maxrate 17M -bufsize 8M \
  -flags +ildct+ilme -x264-params tff=1 -pix_fmt yuv420p -c:a ac3 -b:a 256k -ac 2 -f mpegts "$out/avchd-1080i.mts.tmp"
mv "$out/avchd-1080i.mts.tmp" "$out/avchd-1080i.mts"
