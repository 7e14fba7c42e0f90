#!/usr/bin/env bash
# The archive of a board with a Japanese base name, unpacked by the readers a board
# house may use: Info-ZIP unzip, Python's zipfile, 7-Zip and bsdtar. Each must give
# every entry under its right name, with the bytes of that file in the set's folder.
# A reader that is missing is skipped with its package named, or fails the test when
# VELMORTA_REQUIRE_READERS is set (as CI sets it).
#   export/archive_readers_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Readers decode the names into the locale's encoding: a user's Linux speaks UTF-8.
export LC_ALL=C.UTF-8
failures=0
fail() { failures=$((failures + 1)); echo "FAIL: $*"; }

base=片面ソ
mkdir -p "$work/board/out"
cp "$source/examples/board.pad" "$work/board/$base.pad"
(cd "$work/board" && "$build/velmorta" "$base" >/dev/null && "$build/velmorta-export" "$base" >/dev/null) ||
  { echo "FAIL: the example board did not convert and export as $base"; exit 1; }
set=$work/board/out/$base-fab zip=$work/board/out/$base-fab.zip

# READER unpacks ARCHIVE into FOLDER.
unpack() {
  case $1 in
    unzip) unzip -q "$2" -d "$3" ;;
    zipfile) python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$2" "$3" ;;
    7z) 7z x -bd -o"$3" "$2" >/dev/null ;;
    bsdtar) bsdtar -xf "$2" -C "$3" ;;
  esac
}
declare -A program=([unzip]=unzip [zipfile]=python3 [7z]=7z [bsdtar]=bsdtar)
declare -A package=([unzip]=unzip [zipfile]=python3 [7z]=p7zip-full [bsdtar]=libarchive-tools)

missing=() first=
for reader in unzip zipfile 7z bsdtar; do
  if ! command -v "${program[$reader]}" >/dev/null; then
    missing+=("$reader (${package[$reader]})")
    continue
  fi
  out=$work/$reader
  mkdir "$out"
  unpack "$reader" "$zip" "$out" >"$work/$reader.log" 2>&1 || fail "$reader: $(head -c 400 "$work/$reader.log")"
  names=$(cd "$out" && find . -type f | LC_ALL=C sort)
  [ -n "$names" ] || { fail "$reader unpacked no file"; continue; }
  while IFS= read -r name; do
    if [ ! -f "$set/$name" ]; then fail "$reader: $name is no file of the set"
    elif ! cmp -s "$out/$name" "$set/$name"; then fail "$reader: $name differs from the set's"
    fi
    # The owner may read and write what was unpacked (root reads a file of mode 000 too).
    [ $((0$(stat -c %a "$out/$name") & 0600)) -eq $((0600)) ] || fail "$reader: $name has mode $(stat -c %a "$out/$name")"
  done <<<"$names"
  # Every reader unpacks the same names.
  if [ -z "$first" ]; then first=$names
  elif [ "$names" != "$first" ]; then fail "$reader unpacks other names than the first reader: ${names//$'\n'/ }"
  fi
done

[ "$failures" -eq 0 ] || exit 1
if [ ${#missing[@]} -gt 0 ]; then
  [ -z "${VELMORTA_REQUIRE_READERS:-}" ] || { echo "FAIL: missing readers: ${missing[*]}"; exit 1; }
  echo "SKIPPED: missing readers: ${missing[*]} (scripts/deps --tests installs them)"
fi
