#!/usr/bin/env bash
# Sets up what is missing, then starts Marlo5 on the sample data and saves
# screenshots. Without a DISPLAY it runs under its own Xvfb, four times (the disk tree on
# the sample library; the card tree with its import dialog and then the launcher's window
# open; the sample music folder in the music list; the slide show of the sample library's
# pictures, started as the toolbar's play starts it), and ends the program after each run;
# with a DISPLAY it starts on the card tree and leaves the program running.
#   tools/run.sh [seconds before the screenshot, default 12]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
"$here/setup.sh"
wait_s=${1:-12}
headless=0; [ -n "${DISPLAY:-}" ] || headless=1
. "$here/session.sh"
glimora_session_start

shot_dir=$GLIMORA_LOCAL/screenshots
mkdir -p "$shot_dir"
stamp=$(date +%Y%m%d-%H%M%S)
log=$GLIMORA_LOCAL/marlo5-run.log
# Starts Marlo5 with the folder pane on the given tree (card or disk), waits and saves a
# screenshot (after a further glimctl command, when one is given). The sample run starts from a known browsing state (the rest of the profile
# is kept); a profile with no saved folder opens the sample library's first folder in the
# disk tree, whose folder thread walks to it and hands it to the browser.
start_on() {
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' sample-profile "$1"
  ( cd "$GLIMORA_PROGRAM_DIR" && exec "$GLIMORA_WINE" 'C:\Program Files\Norvane\Marlo5\Marlo5.exe' </dev/null >"$log" 2>&1 ) &
  app=$!
  sleep "$wait_s"
  # The card on E: brings up the import dialog at the start (a card seen at start counts as
  # come): in the screenshots it would cover the browser and what a command shows.
  if [ $headless = 1 ]; then
    "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' dismiss >/dev/null 2>&1 || true
    sleep 1
  fi
  if [ $# -ge 3 ]; then
    "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' "${@:3}" || true
    sleep "${after_s:-3}"
  fi
  shot "$2"
}
shot() {
  /usr/bin/import -window root "$1"
  echo "Screenshot: $1"
}
# Opens the card section's window, the import dialog, and saves a screenshot once the card
# is listed; Close ends it.
shoot_import() {
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' open-window card || return 0
  sleep 6
  shot "$1"
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' dismiss || true
  sleep 2
}
close_main() {
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' close-main >/dev/null 2>&1 || true
  sleep 2
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
}
if [ $headless = 1 ]; then
  # The disk tree walked to the sample library, then the memory card's tree.
  start_on disk "$shot_dir/marlo5-$stamp-disk.png"
  close_main
  start_on card "$shot_dir/marlo5-$stamp.png"
  shoot_import "$shot_dir/marlo5-$stamp-import.png"
  # The launcher's window open under its button.
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' command 27511 >/dev/null 2>&1 || true
  sleep 2
  shot "$shot_dir/marlo5-$stamp-launcher.png"
  close_main
  # The sample music folder in the music list.
  start_on disk "$shot_dir/marlo5-$stamp-music.png" show-music
  # The image picker over the photo database's names (modal: its command returns when it
  # closes, so it is sent in the background).
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' command 40018 >/dev/null 2>&1 &
  sleep 4
  shot "$shot_dir/marlo5-$stamp-picker.png"
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' dismiss || true
  sleep 2
  close_main
  # The slide show of the sample library's pictures, started as the toolbar's play does.
  after_s=8 start_on disk "$shot_dir/marlo5-$stamp-slideshow.png" command 40007
  close_main
else
  start_on card "$shot_dir/marlo5-$stamp.png"
  trap - EXIT
  wait "$app" || true
  glimora_session_stop
fi
