#!/bin/sh
# Small destinations for the import's failure tests, inside the prefix's C: drive:
# C:\glimora-full, a 2 MB tmpfs, and C:\glimora-ro, a read-only one. Mounting needs root;
# without it the folders stay ordinary and the tests say why they skip.
#   smalldisks.sh mount | umount
full="$WINEPREFIX/drive_c/glimora-full"
ro="$WINEPREFIX/drive_c/glimora-ro"
case "$1" in
  mount)
    mkdir -p "$full" "$ro"
    mountpoint -q "$full" || mount -t tmpfs -o size=2m tmpfs "$full" 2>/dev/null
    mountpoint -q "$ro" || mount -t tmpfs -o ro,size=1m tmpfs "$ro" 2>/dev/null
    ;;
  umount)
    for d in "$full" "$ro"; do
      mountpoint -q "$d" && umount "$d"
      rmdir "$d" 2>/dev/null
    done
    ;;
esac
exit 0
