#!/usr/bin/env bash
# Makes a folder read-only for a test, or writable again: a read-only bind
# mount of the folder onto itself. The tests run as root, and Wine run by
# root writes through a file's read-only mode bits, but not to a read-only
# file system. The harness starts this through Wine in the folder's parent
# (started inside the folder, it would keep the mount busy) and gets no
# process to wait for, so the outcome goes to FOLDER.outcome beside the
# folder: "ok", or what went wrong.
#   read-only-folder.sh on|off FOLDER
set -u
folder=$(pwd -P)/$2
cd / || exit 1
if [ "$1" = on ]; then
  if message=$({ mount --bind "$folder" "$folder" && mount -o remount,ro,bind "$folder"; } 2>&1); then
    message=ok
  elif mountpoint -q "$folder"; then
    umount "$folder"  # bound, but not made read-only
  fi
else
  # Lazily where the folder is still busy (the harness's Wine keeps open
  # the working directory of each program it started there).
  if message=$(umount "$folder" 2>/dev/null || umount -l "$folder" 2>&1); then message=ok; fi
fi
# Written whole, then renamed, so the harness never reads half of it.
printf '%s' "${message:-failed without a message}" >"$folder.outcome.part" && mv -f "$folder.outcome.part" "$folder.outcome"
