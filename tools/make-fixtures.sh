#!/usr/bin/env bash
# Test fixtures with known properties (the tests read these values back).
#   make-fixtures.sh OUTDIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/media-lib.sh"
out=$1
rm -rf "$out"; mkdir -p "$out"
make_photo "$out/exif_full.jpg" 640 480 "2026:03:14 09:12:05" "Norvane" "NV-D500" 6 35.6586 139.7454 thumb "full"
make_photo "$out/exif_nothumb.jpg" 640 480 "2025:12:31 23:59:58" "Norvane" "NV-S20" 1 - - nothumb "nothumb"
make_photo "$out/exif_south_west.jpg" 320 240 "2024:02:29 12:00:00" "Norvane" "NV-S20" 8 -33.8568 -151.2153 thumb "sw"
"$IM" -size 320x240 xc:"#336699" -quality 85 "$out/plain.jpg"
make_png "$out/image.png" 200 150 "png"
make_movie "$out/movie.mp4" 2 mp4
make_tone "$out/tone.mp3" 2 440
touch "$out/.stamp"
