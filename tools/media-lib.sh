# Makers of generated media files for the sample library and the test fixtures (sourced).
# Only Debian's ImageMagick, exiftool and ffmpeg are used; nothing is downloaded.
IM=/usr/bin/convert   # /usr/local/bin/convert may be a stand-in on some machines
FONT=$(ls /usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf 2>/dev/null || fc-match -f "%{file}" sans)

# make_photo OUT WIDTH HEIGHT "YYYY:MM:DD HH:MM:SS" MAKE MODEL ORIENTATION [LAT LON|-] [thumb|nothumb] [label]
make_photo() {
  local out=$1 w=$2 h=$3 when=$4 make=$5 model=$6 orient=$7 lat=${8:--} lon=${9:--} thumb=${10:-thumb} label=${11:-}
  # From the name, not the path: the same picture in every checkout.
  local seed; seed=$(printf '%s' "$(basename "$out")$when" | cksum | cut -d' ' -f1)
  local hue=$((seed % 360)) hue2=$(((seed / 7) % 360))
  [ -n "$label" ] || label=$(basename "$out" | sed 's/\.[^.]*$//')
  local pt=$((h / 12))
  "$IM" -size "${w}x${h}" "gradient:hsl($hue,70%,55%)-hsl($hue2,60%,25%)" \
    -fill "hsla($(((hue + 180) % 360)),80%,70%,0.6)" -draw "circle $((w * (seed % 5 + 2) / 8)),$((h / 2)) $((w * (seed % 5 + 2) / 8 + h / 4)),$((h / 2))" \
    -font "$FONT" -fill white -gravity south -pointsize "$pt" -annotate +0+$((h / 20)) "$label" \
    -gravity north -pointsize $((pt / 2)) -annotate +0+$((h / 20)) "${when%% *}" \
    -quality 88 "$out"
  local args=(-q -overwrite_original -DateTimeOriginal="$when" -CreateDate="$when" -ModifyDate="$when"
              -Make="$make" -Model="$model" "-Orientation#=$orient" -ExifImageWidth="$w" -ExifImageHeight="$h")
  if [ "$lat" != "-" ]; then
    args+=(-GPSLatitude="${lat#-}" -GPSLatitudeRef="$([ "${lat#-}" = "$lat" ] && echo N || echo S)"
           -GPSLongitude="${lon#-}" -GPSLongitudeRef="$([ "${lon#-}" = "$lon" ] && echo E || echo W)")
  fi
  if [ "$thumb" = thumb ]; then
    local t; t=$(mktemp --suffix=.jpg)
    "$IM" "$out" -thumbnail 160x120 -strip -quality 80 "$t"
    args+=("-ThumbnailImage<=$t")
    exiftool "${args[@]}" "$out"
    rm -f "$t"
  else
    exiftool "${args[@]}" "$out"
  fi
  touch -d "$(echo "$when" | sed 's/^\([0-9]*\):\([0-9]*\):\([0-9]*\)/\1-\2-\3/')" "$out"
}

# make_png OUT WIDTH HEIGHT LABEL
make_png() {
  "$IM" -size "$2x$3" "gradient:#3a7bd5-#00d2ff" -font "$FONT" -fill white -gravity center -pointsize $(($3 / 8)) -annotate +0+0 "$4" "$1"
}

# make_movie OUT SECONDS KIND   KIND: mp4 | mts | asf | mpg | mov (Motion-JPEG with PCM sound, as cameras write)
make_movie() {
  local out=$1 secs=$2 kind=$3
  local v=(-f lavfi -i "testsrc2=duration=$secs:size=640x360:rate=30" -f lavfi -i "sine=frequency=440:duration=$secs")
  case "$kind" in
    mp4) ffmpeg -v error -y "${v[@]}" -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 96k -movflags +faststart "$out" ;;
    mts) ffmpeg -v error -y "${v[@]}" -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a ac3 -f mpegts "$out" ;;
    asf) ffmpeg -v error -y "${v[@]}" -c:v wmv2 -c:a wmav2 -f asf "$out" ;;
    mpg) ffmpeg -v error -y "${v[@]}" -c:v mpeg2video -c:a mp2 -f vob "$out" ;;
    mov) ffmpeg -v error -y "${v[@]}" -c:v mjpeg -q:v 5 -pix_fmt yuvj420p -c:a pcm_s16le -f mov "$out" ;;
  esac
}

# make_tone OUT SECONDS FREQ   (an MP3)
make_tone() {
  ffmpeg -v error -y -f lavfi -i "sine=frequency=$3:duration=$2" -c:a libmp3lame -b:a 128k "$1"
}
