#!/usr/bin/env bash
# The converter's language from the environment, end to end, as a user's shell starts it:
# Japanese under a Japanese locale (UTF-8 as it is, EUC-JP converted), English where the
# terminal cannot show Japanese or English is asked for; the run log the same in both.
#   cmake/languages_test.sh VELMORTA_BINARY
set -euo pipefail
velmorta=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# ENVIRONMENT... -- the first line of --help
first_line() { env -i "$@" "$velmorta" --help | head -n 1; }
while IFS='|' read -r environment expected; do
  # shellcheck disable=SC2086  # the environment is words
  actual=$(first_line $environment)
  [ "$actual" = "$expected" ] || fail "$environment: \"$actual\", not \"$expected\""
done <<'CASES'
LANG=ja_JP.UTF-8|使い方: velmorta BASE
LC_MESSAGES=ja_JP.UTF-8 LANG=en_US.UTF-8|使い方: velmorta BASE
LC_MESSAGES=ja_JP.UTF-8 LANG=C|Usage: velmorta BASE
LANG=C|Usage: velmorta BASE
LC_ALL=C LANG=ja_JP.UTF-8|Usage: velmorta BASE
LANG=ja_JP.UTF-8 VELMORTA_LANG=en|Usage: velmorta BASE
LANG=C VELMORTA_LANG=ja|Usage: velmorta BASE
CASES

if localedef -i ja_JP -f EUC-JP "$work/ja_JP.eucJP" >/dev/null 2>&1; then
  actual=$(first_line LOCPATH="$work" LANG=ja_JP.eucJP | iconv -f EUC-JP -t UTF-8) ||
    fail "ja_JP.eucJP: the usage is not EUC-JP"
  [ "$actual" = "使い方: velmorta BASE" ] || fail "ja_JP.eucJP: \"$actual\""
fi

# An error in each language: the reason translated, the run log and console the same bytes.
for lang in en ja; do
  (cd "$work" && env -i LANG=ja_JP.UTF-8 VELMORTA_LANG=$lang "$velmorta" none >"$lang.out" 2>"$lang.err") &&
    fail "$lang: a missing pad file ended with status 0"
  cp "$work/none_.vel" "$work/$lang.vel"
done
grep -q '^velmorta: cannot open none.pad: ' "$work/en.err" || fail "en: $(cat "$work/en.err")"
grep -q '^velmorta: none.pad を開けません: ' "$work/ja.err" || fail "ja: $(cat "$work/ja.err")"
cmp -s "$work/en.vel" "$work/ja.vel" || fail "the run logs differ between the languages"
cmp -s "$work/en.out" "$work/ja.out" || fail "the console messages differ between the languages"
exit $((failures > 0))
