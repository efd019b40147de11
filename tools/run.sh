#!/usr/bin/env bash
# Sets up what is missing, then starts Marlo5 on the sample data and saves a
# screenshot. Without a DISPLAY it runs under its own Xvfb and ends the program
# after the screenshot; with one it leaves the program running.
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
shot=$shot_dir/marlo5-$(date +%Y%m%d-%H%M%S).png
log=$GLIMORA_LOCAL/marlo5-run.log
# The sample run starts from a known browsing state (the rest of the profile is kept); a
# profile with no saved folder opens the sample library's first folder in the disk tree,
# whose folder thread walks to it and hands it to the browser.
"$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' sample-profile
( cd "$GLIMORA_PROGRAM_DIR" && exec "$GLIMORA_WINE" 'C:\Program Files\Norvane\Marlo5\Marlo5.exe' </dev/null >"$log" 2>&1 ) &
app=$!
sleep "$wait_s"
/usr/bin/import -window root "$shot"
echo "Screenshot: $shot"
if [ $headless = 1 ]; then
  "$GLIMORA_WINE" 'C:\glimora-bin\glimctl.exe' close-main >/dev/null 2>&1 || true
  sleep 2
  kill "$app" 2>/dev/null || true
else
  trap - EXIT
  wait "$app" || true
  glimora_session_stop
fi
