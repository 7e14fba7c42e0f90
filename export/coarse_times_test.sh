#!/bin/sh
# Two boards converted in one folder within one tick of a coarse file system clock (FAT
# keeps times to 2 s, ext2 with small inodes to 1 s): the files' dates cannot tell the
# second board's files from the first's, and the export of the first must refuse them
# all the same. Mounting an image needs root: without it, or where no image can be
# mounted, the test is skipped (status 77) with the reason.
#   coarse_times_test.sh VELMORTA VELMORTA_EXPORT SOURCE_DIR
set -u
velmorta=$1 velmorta_export=$2 source=$3

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "not root: mounting a file system image needs root"
work=$(mktemp -d) || fail "no temporary folder"
mnt=$work/mnt
mkdir "$mnt"
trap 'umount "$mnt" 2>/dev/null; rm -rf "$work"' EXIT
truncate -s 16M "$work/image" || fail "no image"
if command -v mkfs.vfat >/dev/null && mkfs.vfat "$work/image" >/dev/null 2>&1 &&
   mount -o loop "$work/image" "$mnt" 2>/dev/null; then
  echo "on FAT (times to 2 s)"
elif command -v mkfs.ext2 >/dev/null && mkfs.ext2 -q -F -I 128 "$work/image" >/dev/null 2>&1 &&
     mount -o loop "$work/image" "$mnt" 2>/dev/null; then
  echo "on ext2 with 128-byte inodes (times to 1 s): FAT could not be mounted here"
else
  skip "neither a FAT nor an ext2 image could be mounted on a loop device here"
fi

# The converter reads the velmorta.cfg beside it: a copy whose output folder is the image.
mkdir "$work/bin"
cp "$velmorta" "$work/bin/velmorta" || fail "cannot copy $velmorta"
sed "s|^>g .*|>g $mnt|" "$source/examples/velmorta.cfg" >"$work/bin/velmorta.cfg"
cp "$source/examples/board.pad" "$mnt/a.pad"
cp "$source/examples/single.pad" "$mnt/b.pad"
export_a() { "$velmorta_export" --config "$work/bin/velmorta.cfg" --no-check "$mnt/a" >"$work/out" 2>"$work/err"; }

for try in 1 2 3 4 5; do
  "$work/bin/velmorta" "$mnt/a" && "$work/bin/velmorta" "$mnt/b" || fail "try $try: a conversion failed"
  export_a
  status=$?
  [ "$status" -eq 1 ] || fail "try $try: the export of a took b's files, status $status"
  grep -q "is not what velmorta makes of $mnt/a.pad" "$work/err" || fail "try $try: $(cat "$work/err")"
  [ ! -e "$mnt/a-fab.zip" ] || fail "try $try: a set was written"
done
"$work/bin/velmorta" "$mnt/a" || fail "the conversion of a failed"
export_a || fail "a's own files were refused: $(cat "$work/err")"
[ -f "$mnt/a-fab.zip" ] || fail "no archive"
echo "passed: five refusals of b's files, a's own exported"
