#!/usr/bin/env bash
# Generates the sample library (My Pictures\Glimora Samples, My Music) and the memory
# card on the removable drive E: of the prefix. Skipped when already made.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/media-lib.sh"

user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/ | grep -v /Public/ | head -n1)
pics="$user_dir/Pictures/Glimora Samples"
music="$user_dir/Music"

# A prefix or card folder made anew needs the data again, whatever the stamp says.
stamp=$GLIMORA_LOCAL/sample.stamp
want=$(sha1sum "$0" "$here/media-lib.sh" "$here/make-avchd.py" | sha1sum | cut -c1-16)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ -d "$pics" ] && [ -d "$GLIMORA_CARD_DIR/DCIM" ]; then
  exit 0
fi
echo "Generating the sample library and the memory card ..."
rm -rf "$pics"; mkdir -p "$pics" "$music"

# A few dozen photos over several months and days, two cameras, some turned,
# some with GPS, most with an embedded Exif thumbnail.
i=0
while read -r folder date time model orient lat lon thumb; do
  i=$((i + 1))
  mkdir -p "$pics/$folder"
  make_photo "$pics/$folder/$(printf 'NVDC%04d.JPG' $i)" 1024 768 "$date $time" "Norvane" "$model" "$orient" "$lat" "$lon" "$thumb"
done <<'LIST'
2026-03_Spring 2026:03:14 09:12:05 NV-D500 1 35.6586 139.7454 thumb
2026-03_Spring 2026:03:14 09:15:41 NV-D500 1 35.6590 139.7460 thumb
2026-03_Spring 2026:03:14 10:02:17 NV-D500 6 35.6601 139.7432 thumb
2026-03_Spring 2026:03:14 11:30:00 NV-D500 1 - - thumb
2026-03_Spring 2026:03:21 15:45:12 NV-D500 1 - - thumb
2026-03_Spring 2026:03:21 15:47:33 NV-D500 8 - - thumb
2026-03_Spring 2026:03:28 08:05:59 NV-D500 1 34.9858 135.7588 thumb
2026-03_Spring 2026:03:28 08:10:20 NV-D500 1 34.9861 135.7590 nothumb
2026-05_Garden 2026:05:02 13:20:00 NV-S20 1 - - thumb
2026-05_Garden 2026:05:02 13:21:10 NV-S20 1 - - thumb
2026-05_Garden 2026:05:02 13:25:45 NV-S20 3 - - thumb
2026-05_Garden 2026:05:05 17:40:00 NV-S20 1 35.0116 135.7681 thumb
2026-05_Garden 2026:05:05 17:42:30 NV-S20 1 35.0118 135.7679 thumb
2026-05_Garden 2026:05:16 10:00:00 NV-S20 1 - - nothumb
2026-05_Garden 2026:05:16 10:03:00 NV-S20 6 - - thumb
2026-05_Garden 2026:05:30 19:55:10 NV-S20 1 - - thumb
2026-08_Summer_trip 2026:08:08 07:30:00 NV-D500 1 43.0642 141.3469 thumb
2026-08_Summer_trip 2026:08:08 07:31:15 NV-D500 1 43.0645 141.3471 thumb
2026-08_Summer_trip 2026:08:08 12:00:00 NV-D500 1 43.0700 141.3500 thumb
2026-08_Summer_trip 2026:08:09 09:09:09 NV-D500 8 43.0622 141.3544 thumb
2026-08_Summer_trip 2026:08:09 09:10:10 NV-D500 1 43.0623 141.3545 thumb
2026-08_Summer_trip 2026:08:10 16:20:00 NV-S20 1 - - thumb
2026-08_Summer_trip 2026:08:10 16:21:00 NV-S20 1 - - thumb
2026-08_Summer_trip 2026:08:11 06:00:00 NV-S20 1 42.7752 141.6920 nothumb
2026-08_Summer_trip 2026:08:11 06:05:00 NV-S20 3 42.7755 141.6925 thumb
2026-08_Summer_trip 2026:08:12 20:30:00 NV-D500 1 - - thumb
2026-10_Autumn 2026:10:03 14:14:14 NV-D500 1 35.3606 138.7274 thumb
2026-10_Autumn 2026:10:03 14:20:00 NV-D500 1 35.3610 138.7280 thumb
2026-10_Autumn 2026:10:17 11:11:11 NV-S20 1 - - thumb
2026-10_Autumn 2026:10:17 11:12:12 NV-S20 6 - - thumb
2026-10_Autumn 2026:10:31 18:00:00 NV-S20 1 - - thumb
2026-10_Autumn 2026:10:31 18:30:00 NV-S20 1 - - nothumb
LIST
make_png "$pics/2026-10_Autumn/Leaves.png" 800 600 "Autumn leaves"
make_movie "$pics/2026-08_Summer_trip/MOV00001.MP4" 4 mp4
touch -d "2026-08-09 10:00:00" "$pics/2026-08_Summer_trip/MOV00001.MP4"
# A Motion-JPEG QuickTime clip: the movie bridge plays it, the video upload takes it.
make_movie "$pics/2026-08_Summer_trip/MVI00002.MOV" 4 mov
touch -d "2026-08-10 16:25:00" "$pics/2026-08_Summer_trip/MVI00002.MOV"
make_tone "$music/Morning tone.mp3" 6 440
make_tone "$music/Evening tone.mp3" 6 330
# Music for the AAC chain and the ASF reader: an AAC .m4a and a Windows Media .wma.
ffmpeg -v error -y -f lavfi -i "sine=frequency=523:duration=6" -c:a aac -b:a 128k "$music/Noon tone.m4a"
ffmpeg -v error -y -f lavfi -i "sine=frequency=392:duration=6" -c:a wmav2 -b:a 128k "$music/Night tone.wma"

# The memory card: a DCF picture folder, an AVCHD tree and an SD-Video programme.
card=$GLIMORA_CARD_DIR
find "$card" -mindepth 1 -maxdepth 1 ! -name '.windows-*' -exec rm -rf {} +
mkdir -p "$card/DCIM/100NORVA" "$card/MISC"
for n in 1 2 3 4 5 6; do
  make_photo "$card/DCIM/100NORVA/$(printf 'NVDC%04d.JPG' $n)" 1024 768 "2026:11:2$((n / 3)) 1$n:0$n:00" "Norvane" "NV-D500" 1 - - thumb
done
bdmv=$card/PRIVATE/AVCHD/BDMV
mkdir -p "$bdmv/STREAM" "$bdmv/CLIPINF" "$bdmv/PLAYLIST" "$bdmv/BACKUP"
make_movie "$bdmv/STREAM/00000.MTS" 3 mts
python3 "$here/make-avchd.py" "$bdmv" card 0103 AB12 0
cp "$bdmv/INDEX.BDM" "$bdmv/MOVIEOBJ.BDM" "$bdmv/BACKUP/"
touch -d "2026-11-22 14:00:00" "$bdmv/STREAM/00000.MTS"
mkdir -p "$card/SD_VIDEO/PRL001"
make_movie "$card/SD_VIDEO/PRL001/MOL001.ASF" 3 asf
touch -d "2026-11-22 15:00:00" "$card/SD_VIDEO/PRL001/MOL001.ASF"

# The sample disc (glimctl disc insert d): an AVCHD disc of two titles, the second of two
# scenes, recorded on two days.
disc=$GLIMORA_DISC_DIR
rm -rf "$disc"
mkdir -p "$disc/BDMV/STREAM"
make_movie "$disc/BDMV/STREAM/00000.m2ts" 3 mts
cp "$disc/BDMV/STREAM/00000.m2ts" "$disc/BDMV/STREAM/00001.m2ts"
cp "$disc/BDMV/STREAM/00000.m2ts" "$disc/BDMV/STREAM/00002.m2ts"
python3 "$here/make-avchd.py" "$disc/BDMV" disc 0103 AB12 0 1,2
touch -d "2026-10-03 09:00:00" "$disc/BDMV/STREAM/00000.m2ts"
touch -d "2026-10-04 16:00:00" "$disc/BDMV/STREAM/00001.m2ts" "$disc/BDMV/STREAM/00002.m2ts"

echo "$want" >"$stamp"
echo "Sample library: $pics"
echo "Memory card (E:): $card"
echo "Sample disc (glimctl disc insert d): $disc"
