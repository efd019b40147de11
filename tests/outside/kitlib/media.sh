#!/bin/sh
# Small media for the file-operation tests, below the test programs' folder (which the
# programs reach as C:\glimora-bin): "full", a 256 KB file system, and "readonly", one
# mounted read-only with one file on it. Mounting needs root; without it the folders stay
# plain and empty, and the tests that need the media are skipped.
#   media.sh mount <folder> | media.sh umount <folder>
set -u
dir=$2
unmount() {
  for m in full readonly; do
    if mountpoint -q "$dir/$m" 2>/dev/null; then umount "$dir/$m"; fi
  done
}
case $1 in
  mount)
    unmount
    mkdir -p "$dir/full" "$dir/readonly"
    mount -t tmpfs -o size=256k tmpfs "$dir/full" 2>/dev/null || exit 0
    if ! mount -t tmpfs -o size=256k tmpfs "$dir/readonly" 2>/dev/null; then unmount; exit 0; fi
    echo "held on a read-only medium" >"$dir/readonly/held.jpg"
    touch "$dir/full/.mounted" "$dir/readonly/.mounted"
    mount -o remount,ro "$dir/readonly" || unmount
    ;;
  umount)
    unmount
    ;;
esac
exit 0
