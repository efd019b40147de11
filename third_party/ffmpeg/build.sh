#!/usr/bin/env bash
# Builds FFmpeg's libraries static for the movie kit: LGPL only (no GPL or non-free parts),
# no programs, and only the demuxers, decoders and parsers of the maker's camera movies
# and of the music the program plays and reads the facts of (mp3, wav, mp4/m4a/m4b, aac, asf/wma).
#   third_party/ffmpeg/build.sh <source dir> <install dir>
# Skipped when the install dir holds a build of these options; the object files of an
# earlier run stay in <install dir>-build, so a changed option rebuilds incrementally.
set -euo pipefail
src=$1 prefix=$2
build=$prefix-build
opts=(--target-os=mingw32 --arch=x86_64 --enable-cross-compile --cross-prefix=x86_64-w64-mingw32-
      --cc=x86_64-w64-mingw32-gcc-posix --enable-static --disable-shared --disable-autodetect
      --disable-programs --disable-doc --disable-network --disable-debug --disable-avdevice
      --disable-avfilter --disable-postproc --disable-everything --enable-protocol=file
      --enable-demuxer=mpegts,mov,avi,mpegps,mpegvideo,h264,m4v,aac,mp3,wav,asf
      --enable-muxer=mov,mp4,avi,mpegts,mpeg2vob
      --enable-decoder=h264,mpeg2video,mpeg4,h263,mjpeg,ac3,aac,mp3,mp2,amrnb,amrwb,pcm_s16le,pcm_s16be,pcm_u8,pcm_s24le,adpcm_ima_qt,adpcm_ima_wav
      --enable-parser=h264,mpegvideo,mpeg4video,h263,mjpeg,ac3,aac,mpegaudio
      --enable-swscale --enable-swresample)
stamp="$(printf '%s\n' "$(cat "$src/VERSION" 2>/dev/null || cat "$src/RELEASE")" "${opts[@]}" | sha256sum | cut -c1-16)"
if [ -f "$prefix/.built" ] && [ "$(cat "$prefix/.built")" = "$stamp" ]; then exit 0; fi
printf '\n== Building FFmpeg (static, LGPL) into %s\n' "$prefix"
mkdir -p "$build"
cd "$build"
"$src/configure" --prefix="$prefix" "${opts[@]}" >configure.log 2>&1 || { tail -20 configure.log; exit 1; }
# configure writes config.h afresh each time; make rebuilds only what depends on a change.
make -j "${GLIMORA_JOBS:-$(nproc)}" >make.log 2>&1 || { tail -30 make.log; exit 1; }
rm -rf "$prefix"
make install >>make.log 2>&1
echo "$stamp" > "$prefix/.built"
