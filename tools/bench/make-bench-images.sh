#!/usr/bin/env bash
# Camera-size pictures for the thumbnail benchmark (thumbbench.exe).
#   make-bench-images.sh OUTDIR [COUNT]
# Makes COUNT 6000 x 4000 (24 MP) JPEGs with camera Exif in OUTDIR/thumb, each
# carrying a 160 x 107 embedded thumbnail, and the same pictures without one in
# OUTDIR/nothumb. Debian's ImageMagick and exiftool only; skipped when done.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../media-lib.sh"   # IM, FONT
out=$1
count=${2:-8}
stamp="$out/.done-$count"
[ -f "$stamp" ] && exit 0
rm -rf "$out"
mkdir -p "$out/thumb" "$out/nothumb"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
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
