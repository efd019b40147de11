#!/usr/bin/env bash
# Camera-size pictures for the thumbnail benchmark (thumbbench.exe).
#   make-bench-images.sh OUTDIR [COUNT]
# Makes COUNT 6000 x 4000 (24 MP) JPEGs with camera Exif in OUTDIR/thumb, each
# carrying a 160 x 107 embedded thumbnail, and the same pictures without one in
# OUTDIR/nothumb. For pagebench's scaling: one 1600 x 1200 camera JPEG with a 160 x 120
# thumbnail, hard-linked 100 times into OUTDIR/scale100 and 10,000 times into
# OUTDIR/scale10000 (separate files to Windows, one file's blocks on the disk).
# Debian's ImageMagick and exiftool only; each part skipped when done.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../media-lib.sh"   # IM, FONT
out=$1
count=${2:-8}
stamp="$out/.done-$count"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
scaling() {
  [ -f "$out/.done-scale" ] && return 0
  rm -rf "$out/scale100" "$out/scale10000"
  mkdir -p "$out/scale100" "$out/scale10000"
  local one="$tmp/small.jpg"
  "$IM" -size 1600x1200 -seed 7 plasma:fractal -quality 90 -sampling-factor 2x2 "$one"
  exiftool -q -overwrite_original -Make=Norvane -Model=NV-D500 "-Orientation#=1" \
    -DateTimeOriginal='2026:01:02 10:00:00' "$one"
  "$IM" "$one" -thumbnail 160x120 -strip -quality 80 "$tmp/t.jpg"
  exiftool -q -overwrite_original "-ThumbnailImage<=$tmp/t.jpg" "$one"
  # One process for the links (a process per link takes minutes on a busy machine).
  perl -e 'my ($src, $out) = @ARGV;
    for my $i (1 .. 10000) { link $src, sprintf("%s/scale10000/NV%05d.JPG", $out, $i) or die "$!\n" }
    for my $i (1 .. 100) { link $src, sprintf("%s/scale100/NV%05d.JPG", $out, $i) or die "$!\n" }' "$one" "$out"
  touch "$out/.done-scale"
}
if [ -f "$stamp" ]; then scaling; exit 0; fi
rm -rf "$out"
mkdir -p "$out/thumb" "$out/nothumb"
# One detailed base picture; every file is a shifted, labelled copy of it.
"$IM" -size 6000x4000 -seed 24 plasma:fractal "$tmp/base.miff"
for i in $(seq 1 "$count"); do
  name=$(printf 'NV%04d.JPG' "$i")
  "$IM" "$tmp/base.miff" -roll +$((i * 613))+$((i * 257)) -font "$FONT" -fill white -pointsize 300 -gravity center \
    -annotate +0+0 "$i" -quality 92 -sampling-factor 2x2 "$out/nothumb/$name"
  when=$(printf '2026:01:%02d 10:%02d:00' $(( (i - 1) % 28 + 1 )) $(( i % 60 )))
  exiftool -q -overwrite_original -Make=Norvane -Model=NV-D500 "-Orientation#=1" \
    -DateTimeOriginal="$when" -ExifImageWidth=6000 -ExifImageHeight=4000 "$out/nothumb/$name"
  "$IM" "$out/nothumb/$name" -thumbnail 160x120 -strip -quality 80 "$tmp/t.jpg"
  cp "$out/nothumb/$name" "$out/thumb/$name"
  exiftool -q -overwrite_original "-ThumbnailImage<=$tmp/t.jpg" "$out/thumb/$name"
done
touch "$stamp"
scaling
