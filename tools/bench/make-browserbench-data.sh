#!/usr/bin/env bash
# Folders for the browser benchmark (browserbench.exe).
#   make-browserbench-data.sh OUTDIR FIXTURES
# OUTDIR/A: 1,000 camera JPEGs of 6000 x 4000, each with a 160 x 120 Exif thumbnail and a
# recording time of its own (plain colours, so the files stay small).
# OUTDIR/B: 10,000 files, copies of a few small JPEGs and movies from FIXTURES under
# names and times of their own.
# OUTDIR/C: 10,000 camera pictures, A's files linked under names of their own (more than the
# thumbnails' pixel budget holds). Debian's ImageMagick and exiftool only; each part is
# skipped when done.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../media-lib.sh"   # IM, FONT
out=$1
fixtures=$2
stamp="$out/.done"
make_c() {
  [ -f "$out/.done-c" ] && return 0
  rm -rf "$out/C"
  mkdir -p "$out/C"
  # Links, not copies: the same bytes under names of their own, made in seconds.
  python3 - "$out" <<'PY'
import os, sys
out = sys.argv[1]
for i in range(10000):
    os.link(os.path.join(out, "A", "NV%04d.JPG" % (i % 1000 + 1)), os.path.join(out, "C", "NC%05d.JPG" % i))
PY
  touch "$out/.done-c"
}
if [ -f "$stamp" ]; then
  make_c
  exit 0
fi
rm -rf "$out"
mkdir -p "$out/A" "$out/B"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Eight bases (a colour and a label each) and their thumbnails, made side by side.
colours=(firebrick seagreen steelblue goldenrod orchid slategray darkorange teal)
for k in $(seq 0 7); do
  (
    "$IM" -size 6000x4000 "xc:${colours[$k]}" -font "$FONT" -fill white -pointsize 900 -gravity center \
      -annotate +0+0 "$k" -quality 70 "$tmp/base$k.jpg"
    "$IM" "$tmp/base$k.jpg" -thumbnail 160x120 -strip -quality 80 "$tmp/thumb$k.jpg"
  ) &
done
wait

# Copies, then one exiftool per quarter writing each file's date and thumbnail.
for i in $(seq 1 1000); do cp "$tmp/base$((i % 8)).jpg" "$out/A/$(printf 'NV%04d.JPG' "$i")"; done
for q in 0 1 2 3; do
  args="$tmp/args$q"
  : > "$args"
  for i in $(seq $((q * 250 + 1)) $((q * 250 + 250))); do
    # Recording times run backwards against the names, so that the default order (by
    # time) differs from the order of the names.
    s=$(( (1000 - i) * 97 ))
    printf -- '-overwrite_original\n-q\n-Make=Norvane\n-Model=NV-D500\n-ExifImageWidth=6000\n-ExifImageHeight=4000\n' >> "$args"
    printf -- '-DateTimeOriginal=2026:02:%02d %02d:%02d:%02d\n' $(( s / 86400 % 28 + 1 )) $(( s / 3600 % 24 )) $(( s / 60 % 60 )) $(( s % 60 )) >> "$args"
    printf -- '-ThumbnailImage<=%s\n%s\n-execute\n' "$tmp/thumb$((i % 8)).jpg" "$out/A/$(printf 'NV%04d.JPG' "$i")" >> "$args"
  done
  exiftool -@ "$args" >/dev/null &
done
wait

# B: small pictures and movies under names and times of their own.
python3 - "$out/B" "$fixtures" <<'PY'
import os, shutil, sys
dst, fx = sys.argv[1], sys.argv[2]
kinds = ["exif_full.jpg", "exif_le.jpg", "plain.jpg", "people.jpg", "rose.jpg", "movie.mp4"]
base = 1767225600  # 2026-01-01
for i in range(10000):
    src = kinds[i % len(kinds)]
    ext = os.path.splitext(src)[1]
    path = os.path.join(dst, "B%05d%s" % (i, ext))
    shutil.copyfile(os.path.join(fx, src), path)
    t = base + (i * 7919) % 10000000
    os.utime(path, (t, t))
PY
touch "$stamp"
make_c
