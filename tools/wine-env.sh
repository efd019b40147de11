# Environment of every Wine process of the project (sourced, not run).
# The prefix and its HOME live in the checkout's .local folder, never in ~/.wine.
# Folders handed down from another checkout's scripts don't hold for this one.
glimora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -n "${GLIMORA_ROOT:-}" ] && [ "$GLIMORA_ROOT" != "$glimora_root" ]; then unset GLIMORA_LOCAL GLIMORA_BUILD; fi
GLIMORA_ROOT=$glimora_root
unset glimora_root
GLIMORA_LOCAL=${GLIMORA_LOCAL:-$GLIMORA_ROOT/.local}
GLIMORA_BUILD=${GLIMORA_BUILD:-$GLIMORA_ROOT/build}
export GLIMORA_ROOT GLIMORA_LOCAL GLIMORA_BUILD

export WINEPREFIX=$GLIMORA_LOCAL/wine
export HOME=$GLIMORA_LOCAL/wine.home
export WINEDEBUG=${WINEDEBUG:--all}
# Sound goes through ALSA (winealsa); a machine without a sound card gets a null device in
# the prefix's HOME (make-prefix.sh), which takes sound in real time and drops it.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
unset LANGUAGE

# The memory card: drive E: is a removable drive whose medium is this folder.
export GLIMORA_CARD_LETTER=e
export GLIMORA_CARD_DIR=$GLIMORA_LOCAL/card
# The sample disc (an AVCHD disc as a folder) for glimctl disc insert.
export GLIMORA_DISC_DIR=$GLIMORA_LOCAL/disc

# The program folder inside the prefix.
export GLIMORA_PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Norvane/Marlo5"

# Debian's "wine" wrapper warns about wine32 on every start; the 64-bit loader is enough.
if [ -x /usr/lib/wine/wine64 ]; then GLIMORA_WINE=/usr/lib/wine/wine64; else GLIMORA_WINE=wine; fi
if [ -x /usr/lib/wine/wineserver64 ]; then GLIMORA_WINESERVER=/usr/lib/wine/wineserver64; else GLIMORA_WINESERVER=wineserver; fi
export GLIMORA_WINE GLIMORA_WINESERVER
