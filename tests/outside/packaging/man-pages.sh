#!/bin/sh
# The manual pages render without a warning, through groff with all warnings on and through man as
# a user reads them:  man-pages.sh PAGE...
set -u
. "$(dirname "$0")/../../support/missing-tool.sh"
command -v groff >/dev/null 2>&1 || missing "groff is not installed (package groff)"
command -v man >/dev/null 2>&1 || missing "man is not installed (package man-db)"

failures=0
for page in "$@"; do
  name=$(basename "$page")
  warnings=$(groff -ww -man -Tutf8 "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || {
    echo "FAIL: groff warns about $name:"
    echo "$warnings"
    failures=$((failures + 1))
  }
  shown=$(MANWIDTH=80 man --warnings -l "$page" 2>"${TMPDIR:-/tmp}/qv-man.$$")
  warnings=$(cat "${TMPDIR:-/tmp}/qv-man.$$")
  rm -f "${TMPDIR:-/tmp}/qv-man.$$"
  if [ -n "$warnings" ] || [ -z "$shown" ]; then
    echo "FAIL: man -l shows $name with warnings or not at all:"
    echo "$warnings"
    failures=$((failures + 1))
  else
    echo "ok:   $name renders without warnings ($(printf '%s\n' "$shown" | wc -l) lines)"
  fi
  # Every page has the sections a user looks for.
  for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' EXAMPLES; do
    printf '%s\n' "$shown" | grep -qx "$section" || {
      echo "FAIL: $name has no section $section"
      failures=$((failures + 1))
    }
  done
done
[ "$failures" -eq 0 ] || exit 1
