#!/bin/sh
# A file system with room for almost nothing, for the Win32 tests of a full disk.
#   small-disk.sh mount DIR     a 2 MiB tmpfs at DIR, all but 64 KiB of it taken; where this user
#                               cannot mount one (not root, a container without the right), DIR
#                               stays a plain folder and the tests that need it skip
#   small-disk.sh unmount DIR
dir=$2
case $1 in
  mount)
    mkdir -p "$dir"
    mountpoint -q "$dir" || mount -t tmpfs -o size=2m vitrelux-small-disk "$dir" 2>/dev/null || exit 0
    dd if=/dev/zero of="$dir/taken" bs=64k count=31 2>/dev/null
    ;;
  unmount)
    if mountpoint -q "$dir"; then umount "$dir"; fi
    ;;
esac
exit 0
