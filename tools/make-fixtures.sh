#!/usr/bin/env bash
# Test fixtures with known properties (the tests read these values back).
#   make-fixtures.sh OUTDIR [PORTRAIT]
# PORTRAIT is the face tests' portrait that set-up fetched (tools/setup.sh); it is copied in
# with the rest, since this step empties OUTDIR first.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/media-lib.sh"
out=$1
portrait=${2:-}
rm -rf "$out"; mkdir -p "$out"
if [ -n "$portrait" ]; then
  if [ -f "$portrait" ]; then
    cp "$portrait" "$out/astronaut.png"
  else
    echo "make-fixtures.sh: $portrait is missing (tools/setup.sh fetches it): the face tests will fail" >&2
  fi
fi
make_photo "$out/exif_full.jpg" 640 480 "2026:03:14 09:12:05" "Norvane" "NV-D500" 6 35.6586 139.7454 thumb "full"
make_photo "$out/exif_nothumb.jpg" 640 480 "2025:12:31 23:59:58" "Norvane" "NV-S20" 1 - - nothumb "nothumb"
make_photo "$out/exif_south_west.jpg" 320 240 "2024:02:29 12:00:00" "Norvane" "NV-S20" 8 -33.8568 -151.2153 thumb "sw"
"$IM" -size 320x240 xc:"#336699" -quality 85 "$out/plain.jpg"
make_png "$out/image.png" 200 150 "png"
make_movie "$out/movie.mp4" 2 mp4
make_tone "$out/tone.mp3" 2 440

# Imaging engine: both Exif byte orders, a Norvane maker note, a TIFF with Exif,
# orientation, padded thumbnails, the usual still formats and broken files.
# The maker note: "Norvane\0", then a little-endian TIFF header and one IFD
# (tag 59 SHORT 2, tag 62 LONG 7).
printf 'Norvane\0II*\0\x08\0\0\0\x02\0\x3b\0\x03\0\x01\0\0\0\x02\0\0\0\x3e\0\x04\0\x01\0\0\0\x07\0\0\0\0\0\0\0' >"$out/makernote.bin"
"$IM" -size 360x240 gradient:orange-purple -quality 90 "$out/exif_le.jpg"
"$IM" "$out/exif_le.jpg" -thumbnail 160x120 -background black -gravity center -extent 160x120 -quality 80 "$out/thumb_padded.jpg"
exiftool -q -overwrite_original -ExifByteOrder=Little-endian -Make=Norvane -Model=NV-X1 "-Orientation#=3" \
  -DateTimeOriginal="2023:07:01 18:30:15" -SubSecTimeOriginal=25 -CreateDate="2023:07:01 18:30:16" \
  -ModifyDate="2023:07:02 08:00:00" -ExposureTime=1/250 -FNumber=5.6 -ISO=400 "-EXIF:Flash#=16" -FocalLength=35 \
  "-WhiteBalance#=1" "-ExposureProgram#=2" "-SceneCaptureType#=3" -ExifImageWidth=360 -ExifImageHeight=240 \
  -GPSLatitude=51.5007 -GPSLatitudeRef=N -GPSLongitude=0.1246 -GPSLongitudeRef=W -GPSAltitude=35.5 \
  "-GPSAltitudeRef#=1" -GPSDateStamp=2023:07:01 -GPSTimeStamp=17:30:15 \
  "-MakerNotes<=$out/makernote.bin" "-ThumbnailImage<=$out/thumb_padded.jpg" "$out/exif_le.jpg"
rm -f "$out/makernote.bin" "$out/thumb_padded.jpg"
cp "$out/exif_le.jpg" "$out/exif_noorient.jpg"
exiftool -q -overwrite_original -Orientation= "$out/exif_noorient.jpg"
# Four coloured quarters (red, lime / blue, white) stored turned: orientation 6.
"$IM" \( -size 160x120 xc:red xc:lime +append \) \( -size 160x120 xc:blue xc:white +append \) -append \
  -quality 95 "$out/quadrants.jpg"
"$IM" "$out/quadrants.jpg" -resize 80x60 -quality 95 "$out/quadrants_thumb.jpg"
exiftool -q -overwrite_original "-Orientation#=6" -DateTimeOriginal="2022:05:05 05:05:05" \
  "-ThumbnailImage<=$out/quadrants_thumb.jpg" "$out/quadrants.jpg"
rm -f "$out/quadrants_thumb.jpg"
"$IM" -size 96x64 gradient:green-yellow -depth 8 -compress none "$out/exif.tif"
exiftool -q -overwrite_original -Make=Norvane -Model=NV-T3 "-Orientation#=8" \
  -DateTimeOriginal="2021:11:11 11:11:11" "$out/exif.tif"
"$IM" -size 48x32 xc:none -fill "#2080ff" -draw "circle 24,16 24,4" "$out/alpha.png"
"$IM" "$out/alpha.png" "$out/image.gif"
"$IM" -size 64x40 gradient:red-navy BMP3:"$out/image.bmp"
"$IM" -size 48x48 xc:none -fill "#c03020" -draw "rectangle 8,8 40,40" -define icon:auto-resize=16,32,48 "$out/image.ico"
"$IM" wizard: -quality 90 "$out/wizard.jpg"
"$IM" rose: -resize 400% -quality 90 "$out/rose.jpg"
# Picture tools: every block of metadata a camera or an editor writes (Exif with GPS and a
# thumbnail, XMP, IPTC) in a JPEG stored turned (orientation 6, also in the XMP) of a size
# that is no whole number of blocks, so a turn encodes it again; the same in a TIFF
# (orientation 8) and, but for IPTC (PNG has no place for it), in a PNG.
tags=(-Make=Norvane -Model=NV-D500 -DateTimeOriginal="2026:04:01 10:11:12" -Artist="Hanako"
      -GPSLatitude=35.6586 -GPSLatitudeRef=N -GPSLongitude=139.7454 -GPSLongitudeRef=E -GPSAltitude=40
      "-GPSAltitudeRef#=0" -XMP-dc:Title="運動会" -XMP-dc:Subject="走る" -XMP-dc:Subject="家族" -XMP-xmp:Rating=4)
iptc=(-IPTC:ObjectName="Sports day" -IPTC:Keywords=run -IPTC:Keywords=family -IPTC:City=Tokyo
      -IPTC:By-line=Hanako "-IPTC:CodedCharacterSet=UTF8")
"$IM" -size 330x250 gradient:"#c04020"-"#2040c0" -quality 90 "$out/all_tags.jpg"
"$IM" "$out/all_tags.jpg" -thumbnail 160x120 -quality 80 "$out/all_tags_thumb.jpg"
exiftool -q -overwrite_original "${tags[@]}" "${iptc[@]}" "-Orientation#=6" "-XMP-tiff:Orientation#=6" \
  "-ThumbnailImage<=$out/all_tags_thumb.jpg" "$out/all_tags.jpg"
rm -f "$out/all_tags_thumb.jpg"
"$IM" -size 96x64 gradient:"#208040"-"#e0e040" -depth 8 -compress none "$out/all_tags.tif"
exiftool -q -overwrite_original "${tags[@]}" "${iptc[@]}" "-Orientation#=8" "$out/all_tags.tif"
"$IM" -size 96x64 gradient:"#402080"-"#40e0e0" png24:"$out/all_tags.png"
exiftool -q -overwrite_original "${tags[@]}" "$out/all_tags.png"
# A TIFF whose first directory lies past its end (WIC's decoder seeks there).
printf 'II*\0\0\0\1\0\0\0\0\0\0\0\0\0' >"$out/ifd_past_end.tif"
# Property reader: a Norvane maker note with faces (tag 0x60: 2), a focus area (0x61:
# column 2 of 4, row 1 of 3), person names (0x62: "花子", "Taro", 18 bytes each, UTF-8)
# and a scene mode (0x63: 1); a caption.
{
  printf 'Norvane\0II*\0\x08\0\0\0\x04\0'
  printf '\x60\0\x03\0\x01\0\0\0\x02\0\0\0'
  printf '\x61\0\x03\0\x04\0\0\0\x3e\0\0\0'
  printf '\x62\0\x07\0\x24\0\0\0\x46\0\0\0'
  printf '\x63\0\x03\0\x01\0\0\0\x01\0\0\0'
  printf '\0\0\0\0'
  printf '\x02\0\x04\0\x01\0\x03\0'
  printf '\xe8\x8a\xb1\xe5\xad\x90\0\0\0\0\0\0\0\0\0\0\0\0'
  printf 'Taro\0\0\0\0\0\0\0\0\0\0\0\0\0\0'
} >"$out/people_note.bin"
make_photo "$out/people.jpg" 480 360 "2026:05:05 10:00:00" "Norvane" "NV-D500" 1 - - thumb "people"
exiftool -q -overwrite_original "-MakerNotes<=$out/people_note.bin" -ImageDescription="Sports day" \
  "-EXIF:Flash#=1" "-ExposureProgram#=7" "$out/people.jpg"
rm -f "$out/people_note.bin"
# Recording-time fallbacks: only the digitised time; only the time of the last edit.
cp "$out/exif_nothumb.jpg" "$out/exif_digitized.jpg"
exiftool -q -overwrite_original -DateTimeOriginal= -CreateDate="2025:01:02 03:04:05" "$out/exif_digitized.jpg"
cp "$out/exif_nothumb.jpg" "$out/exif_edited.jpg"
exiftool -q -overwrite_original -DateTimeOriginal= -CreateDate= -ModifyDate="2025:06:07 08:09:10" "$out/exif_edited.jpg"

# Broken files: cut inside the Exif block, cut inside the scan, offsets past the end.
head -c 200 "$out/exif_full.jpg" >"$out/cut_exif.jpg"
head -c $(( $(stat -c %s "$out/exif_full.jpg") - 4000 )) "$out/exif_full.jpg" >"$out/cut_scan.jpg"
cp "$out/exif_full.jpg" "$out/bad_offsets.jpg"
for entry in '\x87\x69\x00\x04\x00\x00\x00\x01' '\x88\x25\x00\x04\x00\x00\x00\x01' '\x02\x01\x00\x04\x00\x00\x00\x01'; do
  at=$(LC_ALL=C grep -obUaP "$entry" "$out/bad_offsets.jpg" | head -1 | cut -d: -f1)
  printf '\x7f\xff\xff\x00' | dd of="$out/bad_offsets.jpg" bs=1 seek=$((at + 8)) conv=notrunc status=none
done
printf 'not a picture at all' >"$out/not_image.jpg"

# Movie containers for the header probe: AVI (Motion JPEG), ASF, MPEG-2 program
# stream, and a QuickTime file carrying its recording time (header at the end), the
# one dated movie of the tests.
make_movie "$out/movie.asf" 1 asf
make_movie "$out/movie.mpg" 1 mpg
ffmpeg -v error -y -f lavfi -i "testsrc2=duration=1:size=320x240:rate=15" -c:v mjpeg -q:v 8 "$out/movie.avi"
ffmpeg -v error -y -f lavfi -i "testsrc2=duration=1:size=320x240:rate=15" -c:v libx264 -preset veryfast \
  -pix_fmt yuv420p -metadata creation_time=2024-05-06T07:08:09Z -f mov "$out/movie.mov"
# Motion-JPEG QuickTime movies of 10, 600 and 601 seconds (tiny frames, one a second)
# for the export pane's length limit.
for secs in 10 600 601; do
  ffmpeg -v error -y -f lavfi -i "color=c=blue:size=16x16:rate=1:duration=$secs" -c:v mjpeg -q:v 20 -f mov \
    "$out/mjpeg_$secs.mov"
done
# Only the modification date and a Unicode comment in the Exif block.
"$IM" -size 64x48 xc:gray -quality 80 "$out/exif_comment.jpg"
exiftool -q -overwrite_original -ModifyDate="2020:01:02 03:04:05" -UserComment="日本語コメント" "$out/exif_comment.jpg"
# Thumbnail library: a picture big enough that decoding it takes a while, tagged sound
# files.
"$IM" -size 4000x3000 gradient:"#204080"-"#e0c060" -quality 85 "$out/big_nothumb.jpg"
ffmpeg -v error -y -f lavfi -i "sine=frequency=660:duration=3" -c:a libmp3lame -b:a 128k -id3v2_version 3 \
  -metadata title="夜明けの歌" -metadata artist="Norvane" -metadata album="テスト" -metadata track=3 "$out/tagged.mp3"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=1" -c:a pcm_s16le -ar 44100 "$out/tone.wav"
# Movie kit: red for 1 s then blue (one key frame at the start, so a picture at 1.0 s needs an
# exact seek), with sound: AVCHD-like MPEG-TS in 188-byte (.mts) and 192-byte (.m2ts) packets,
# a Motion-JPEG QuickTime movie of four coloured quarters; a cut and a garbage stream.
colours=(-f lavfi -i "color=red:size=320x240:rate=25:duration=1" -f lavfi -i "color=blue:size=320x240:rate=25:duration=1"
         -f lavfi -i "sine=frequency=440:duration=2" -filter_complex "[0:v][1:v]concat=n=2:v=1:a=0[v]" -map "[v]" -map 2:a)
ffmpeg -v error -y "${colours[@]}" -c:v libx264 -preset veryfast -g 50 -sc_threshold 0 -pix_fmt yuv420p -c:a ac3 -f mpegts "$out/colours.mts"
ffmpeg -v error -y "${colours[@]}" -c:v libx264 -preset veryfast -g 50 -sc_threshold 0 -pix_fmt yuv420p -c:a ac3 -f mpegts \
  -mpegts_m2ts_mode 1 "$out/colours.m2ts"
ffmpeg -v error -y -f lavfi -i "color=red:size=80x60:rate=15:duration=1" -f lavfi -i "color=lime:size=80x60:rate=15:duration=1" \
  -f lavfi -i "color=blue:size=80x60:rate=15:duration=1" -f lavfi -i "color=white:size=80x60:rate=15:duration=1" \
  -f lavfi -i "sine=frequency=330:duration=1" \
  -filter_complex "[0:v][1:v]hstack[t];[2:v][3:v]hstack[b];[t][b]vstack[v]" -map "[v]" -map 4:a \
  -c:v mjpeg -q:v 2 -pix_fmt yuvj420p -c:a pcm_s16le -f mov "$out/quarters.mov"
head -c 700 "$out/colours.mts" > "$out/cut.mts"
# Stream-copy cuts: three seconds with a key frame every second and sound, as MP4 (with
# B-frames), AVCHD-like MPEG-TS in 192-byte packets and MPEG-2 program stream.
keys=(-f lavfi -i "testsrc2=size=160x120:rate=25:duration=3" -f lavfi -i "sine=frequency=550:duration=3")
gop=(-g 25 -keyint_min 25 -sc_threshold 0)
ffmpeg -v error -y "${keys[@]}" -c:v libx264 -preset veryfast "${gop[@]}" -bf 2 -pix_fmt yuv420p -c:a aac -b:a 64k \
  "$out/keys.mp4"
ffmpeg -v error -y "${keys[@]}" -c:v libx264 -preset veryfast "${gop[@]}" -pix_fmt yuv420p -c:a ac3 -f mpegts \
  -mpegts_m2ts_mode 1 "$out/keys.m2ts"
ffmpeg -v error -y "${keys[@]}" -c:v mpeg2video "${gop[@]}" -q:v 4 -c:a mp2 -f vob "$out/keys.mpg"
python3 -c "
import random, sys
r = random.Random(20)
sys.stdout.buffer.write(b''.join(b'\x47' + bytes(r.getrandbits(8) for _ in range(187)) for _ in range(400)))
" > "$out/garbage.mts"
# AAC filters: AAC in MP4 (stereo 44.1 kHz; once more with a cover picture) and ADTS (mono
# 48 kHz), the MP4 cut short in its sound and a garbage file named like one.
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=1.5" -ac 2 -ar 44100 -c:a aac -b:a 96k \
  -movflags +faststart "$out/tone.m4a"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=1.5" -f lavfi -i "color=red:size=32x32:duration=0.1" \
  -map 0:a -map 1:v -frames:v 1 -ac 2 -ar 44100 -c:a aac -b:a 96k -c:v png -disposition:v attached_pic \
  "$out/tone_cover.m4a"
ffmpeg -v error -y -f lavfi -i "sine=frequency=880:duration=1" -ac 1 -ar 48000 -c:a aac -b:a 64k -f adts "$out/tone.aac"
# Four seconds of each, for seeks whose effect shows in the time left to play.
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=4" -ac 2 -ar 44100 -c:a aac -b:a 96k \
  -movflags +faststart "$out/tone_long.m4a"
ffmpeg -v error -y -f lavfi -i "sine=frequency=880:duration=4" -ac 1 -ar 48000 -c:a aac -b:a 64k -f adts "$out/tone_long.aac"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=1" -c:a wmav2 -b:a 64k "$out/tone.wma"
head -c $(( $(stat -c %s "$out/tone.m4a") * 2 / 3 )) "$out/tone.m4a" > "$out/tone_cut.m4a"
python3 -c "
import random, sys
r = random.Random(41)
sys.stdout.buffer.write(b'\\0\\0\\0\\x20ftypM4A ' + bytes(r.getrandbits(8) for _ in range(20000)))
" > "$out/garbage.m4a"
# Music facts: each kind the music list reads, with and without tags. ID3v2.4 (UTF-8) on a
# variable bit rate MP3 (Xing header), v2.3 (UTF-16) on tagged.mp3 above; Latin-1 texts, a
# Shift-JIS text in a Latin-1 field and an ID3v1 tag are written here by hand (ffmpeg writes
# UTF-16 for any text beyond ASCII, and no ID3v1); WAV INFO lists in UTF-8 and in Shift-JIS;
# damaged files: a WAV stating a sample rate of 2^31, random bytes named .mp3, an empty file.
tags=(-metadata "title=夕べの歌" -metadata artist=Norvane -metadata album=Album -metadata genre=Pop
      -metadata date=2020 -metadata track=4)
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=2" -ac 2 -ar 44100 -c:a libmp3lame -b:a 128k \
  -id3v2_version 0 "$out/music_plain.mp3"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=3" -ac 2 -ar 44100 -c:a libmp3lame -q:a 6 \
  -id3v2_version 4 -metadata "title=朝の歌" -metadata artist=Norvane -metadata album=Album -metadata genre=Pop \
  -metadata date=2019-04-01 -metadata track=2/9 "$out/music_vbr.mp3"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=1" -ac 2 -ar 44100 -c:a pcm_s16le \
  -metadata "title=Wave title" -metadata artist=Norvane -metadata genre=Ambient -metadata date=2021 "$out/music.wav"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=2.5" -ac 2 -ar 44100 -c:a aac -b:a 96k "${tags[@]}" \
  "$out/music.m4a"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=2" -ac 1 -ar 32000 -c:a aac -b:a 48k "${tags[@]}" \
  -f ipod "$out/music.m4b"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=2" -ac 2 -ar 48000 -c:a aac -b:a 64k "${tags[@]}" \
  -f adts -write_id3v2 1 "$out/music.aac"
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=1.2" -ac 2 -ar 44100 -c:a wmav2 -b:a 64k "${tags[@]}" \
  "$out/music.wma"
python3 - "$out" <<'PY'
import struct, sys, random
out = sys.argv[1]
plain = open(out + '/music_plain.mp3', 'rb').read()
def frame(fid, text):
    body = b'\0' + text  # encoding 0: ISO-8859-1 by the standard
    return fid + struct.pack('>I', len(body)) + b'\0\0' + body
frames = frame(b'TIT2', 'Café au lait'.encode('latin-1')) + frame(b'TPE1', '夜明け'.encode('cp932')) \
    + frame(b'TALB', 'Ärger'.encode('latin-1'))
size = len(frames)
syncsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
open(out + '/music_latin1.mp3', 'wb').write(b'ID3\3\0\0' + syncsafe + frames + plain)
def v1(title, artist, year, track):
    return (b'TAG' + title.ljust(30, b'\0') + artist.ljust(30, b'\0') + b''.ljust(30, b'\0') + year
            + b''.ljust(28, b'\0') + b'\0' + bytes([track]) + b'\xff')
open(out + '/music_v1.mp3', 'wb').write(plain + v1(b'Old title', b'Old artist', b'1999', 7))
def wav(rate, byte_rate, info, data):
    fmt = struct.pack('<HHIIHH', 1, 1, rate, byte_rate, 1, 8)
    chunks = b'fmt ' + struct.pack('<I', len(fmt)) + fmt
    if info:
        items = b''.join(k + struct.pack('<I', len(v) + 1) + v + b'\0' + (b'\0' if (len(v) + 1) % 2 else b'')
                         for k, v in info)
        chunks += b'LIST' + struct.pack('<I', 4 + len(items)) + b'INFO' + items
    chunks += b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', 4 + len(chunks)) + b'WAVE' + chunks
open(out + '/music_sjis.wav', 'wb').write(wav(8000, 8000, [(b'INAM', '夜明け'.encode('cp932'))], b'\x80' * 8000))
open(out + '/music_badrate.wav', 'wb').write(wav(0x80000000, 0xFFFFFFF0, [(b'INAM', b'Bad rate')], b'\x80' * 4000))
r = random.Random(77)
open(out + '/music_garbage.mp3', 'wb').write(bytes(r.getrandbits(8) for _ in range(30000)))
open(out + '/music_empty.mp3', 'wb').close()
PY
touch "$out/.stamp"
