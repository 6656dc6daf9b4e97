#!/usr/bin/env bash
# The manual page and --help name the same options, and groff reads the
# page without a warning.
#
# usage: man_page.sh <mervox binary> <build dir>
set -euo pipefail
page="$(dirname "$(readlink -f "$0")")/../dist/mervox.6"
fail() { echo "man_page: FAIL: $*"; exit 1; }

options_of() { grep -o -E -- '(\\-\\-|--)[a-z]([a-z-]|\\-)*' | sed 's/\\-/-/g' | sort -u; }
from_help="$("$1" --help | options_of)"
from_page="$(options_of <"$page")"
[ -n "$from_help" ] || fail "--help names no option"
if [ "$from_help" != "$from_page" ]; then
  diff <(echo "$from_help") <(echo "$from_page") | sed 's/^</  only in --help:/; s/^>/  only in mervox.6:/' | grep only
  fail "--help and mervox.6 name different options"
fi
[ "$("$1" --version)" = "mervox $(sed -n 's/^project(mervox VERSION \([0-9.]*\) .*/\1/p' "$(dirname "$page")/../CMakeLists.txt")" ] ||
  fail "--version does not print the project's version"
if command -v groff >/dev/null; then
  warnings="$(groff -ww -z -man "$page" 2>&1)"
  [ -z "$warnings" ] || fail "groff: $warnings"
fi
echo "man_page: PASS ($(echo "$from_help" | wc -l) options)"
