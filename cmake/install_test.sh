#!/usr/bin/env bash
# Installs a build into a scratch prefix and uses it as a user would: the programs and
# their configuration side by side, the manual pages found by man, the example board
# converted and exported from a folder of its own by the installed programs, and a
# configuration the user changed kept by the next install.
#   cmake/install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for file in bin/velmorta bin/velmorta-export bin/velmorta.cfg share/man/man1/velmorta.1 \
            share/man/man1/velmorta-export.1 share/man/ja/man1/velmorta.1 share/man/ja/man1/velmorta-export.1 \
            share/doc/velmorta/guide.md share/doc/velmorta/velmorta.cfg; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
cmp "$prefix/bin/velmorta.cfg" "$source/examples/velmorta.cfg" || fail "bin/velmorta.cfg is not the example"

# The programs on the PATH, run from the board's folder: the configuration is found
# beside them, not in the current folder.
mkdir -p "$work/board/out"
cp "$source/examples/board.pad" "$work/board/"
(cd "$work/board" && PATH="$prefix/bin:$PATH" velmorta board && PATH="$prefix/bin:$PATH" velmorta-export board >/dev/null) ||
  fail "the installed programs did not convert and export the example board"
for expected in "$source"/examples/expected/board/*; do
  name=$(basename "$expected")
  actual=$work/board/out/$name
  [ "$name" = board_.vel ] && actual=$work/board/$name
  cmp "$expected" "$actual" || fail "$name differs from the expected file"
done
[ -s "$work/board/out/board-fab.zip" ] || fail "no archive exported"

if command -v man >/dev/null; then
  # man looks beside each bin folder of the PATH, as it does for ~/.local/bin.
  for page in velmorta velmorta-export; do
    found=$(env -u MANPATH PATH="$prefix/bin:$PATH" man -w "$page") || fail "man does not find $page"
    [ "$found" = "$prefix/share/man/man1/$page.1" ] || fail "man finds $page at $found"
  done
fi
if command -v groff >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1 "$prefix"/share/man/ja/man1/*.1; do
    warnings=$(groff -k -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
  done
fi

# A re-install keeps a configuration the user changed, and replaces one that is still
# the previous example.
echo ">Z 7" >>"$prefix/bin/velmorta.cfg"
cp "$prefix/bin/velmorta.cfg" "$work/changed.cfg"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
cmp "$prefix/bin/velmorta.cfg" "$work/changed.cfg" || fail "a re-install overwrote the changed configuration"
grep -q "kept $prefix/bin/velmorta.cfg" "$work/install.log" || fail "a re-install did not say it kept the configuration"
printf '# an older example\n' >"$prefix/bin/velmorta.cfg"
cp "$prefix/bin/velmorta.cfg" "$prefix/share/doc/velmorta/velmorta.cfg"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
cmp "$prefix/bin/velmorta.cfg" "$source/examples/velmorta.cfg" || fail "the unchanged previous example was not replaced"
echo "installed, converted, exported and re-installed in $prefix"
