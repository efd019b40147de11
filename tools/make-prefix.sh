#!/usr/bin/env bash
# Makes the project's Wine prefix from nothing, or brings an existing one up to date.
# It is meant to look like the Windows machine the program expects: Japanese code
# page, real shell folders, no drive onto the Linux root, one removable card drive.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

stamp=$WINEPREFIX/.glimora-prefix
want=$(sha1sum "$0" "$here/wine-env.sh" | sha1sum | cut -c1-16)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ -d "$WINEPREFIX/drive_c" ]; then
  exit 0
fi

mkdir -p "$HOME" "$GLIMORA_CARD_DIR"
# Without a sound card, ALSA's default device is one that drops what it is given.
if ! grep -qs '^ *[0-9]' /proc/asound/cards; then
  printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
else
  rm -f "$HOME/.asoundrc"
fi
# No display while the prefix is made: the server is stopped again at the end, so
# the next one starts with the display of whoever runs the program.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix in $WINEPREFIX ..."
  DISPLAY= "$GLIMORA_WINE" wineboot -i >/dev/null 2>&1 || true
  "$GLIMORA_WINESERVER" -w
fi

# Registry values that Windows has and a fresh prefix lacks, and the window
# manager setting without which every window hide waits two seconds.
reg=$(mktemp --suffix=.reg)
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_LOCAL_MACHINE\Software\Microsoft\DataAccess]
"FullInstallVer"="6.1.7601.17514"
"Version"="6.1.7601.17514"

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"e:"="floppy"

; Wine's own desktop entry for the Linux root ("/"): a Windows desktop has none.
[-HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Explorer\Desktop\Namespace\{9D20AAE8-0625-44B0-9CA7-71889C2254D9}]
REG
cp "$reg" "$WINEPREFIX/drive_c/glimora-prefix.reg"
DISPLAY= "$GLIMORA_WINE" regedit /S 'C:\glimora-prefix.reg' >/dev/null 2>&1
rm -f "$reg" "$WINEPREFIX/drive_c/glimora-prefix.reg"
"$GLIMORA_WINESERVER" -w

# Shell folders as real folders inside the prefix, not links into a Linux home.
for user in "$WINEPREFIX"/drive_c/users/*/; do
  case "$user" in */Public/) continue;; esac
  for f in Desktop Documents Pictures Music Videos Downloads Templates; do
    if [ -L "$user$f" ]; then rm -f "$user$f"; fi
    mkdir -p "$user$f"
  done
done

# Drives: C: only, plus the card drive. The build tree's programs are reached
# through C:\glimora-bin (see wine-run).
rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$GLIMORA_CARD_DIR" "$WINEPREFIX/dosdevices/$GLIMORA_CARD_LETTER:"
[ -f "$GLIMORA_CARD_DIR/.windows-label" ] || echo "MEMCARD" >"$GLIMORA_CARD_DIR/.windows-label"
[ -f "$GLIMORA_CARD_DIR/.windows-serial" ] || echo "4a3c5e71" >"$GLIMORA_CARD_DIR/.windows-serial"
mkdir -p "$GLIMORA_BUILD/bin"
ln -sfn "$GLIMORA_BUILD/bin" "$WINEPREFIX/drive_c/glimora-bin"

echo "$want" >"$stamp"
echo "Wine prefix ready: $WINEPREFIX"
