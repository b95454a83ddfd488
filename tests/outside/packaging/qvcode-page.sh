#!/bin/bash
# qvcode's manual page says what `qvcode --help` says: the same options, modes, formats and chips.
#   qvcode-page.sh QVCODE PAGE
# A new option in the program fails this test until the page describes it too.
set -u
if [ $# -ne 2 ]; then
  echo "usage: qvcode-page.sh QVCODE PAGE" >&2
  exit 2
fi
qvcode=$1
page=$2
. "$(dirname "$0")/../../support/missing-tool.sh"
command -v man >/dev/null 2>&1 || missing "man is not installed (package man-db)"

help=$("$qvcode" --help) || {
  echo "FAILED: qvcode --help ends with an error"
  exit 1
}
shown=$(MANWIDTH=200 man -l "$page" 2>/dev/null)

options() { grep -o -e '--[a-z][a-z-]*' -e ' -[a-zA-Z],' | tr -d ' ,' | sort -u; }
chips() { grep -oE '\b(1[026]f[0-9a-z]+|at(tiny|mega)[0-9a-z]+)\b' | sort -u; }
# The indented name lines of the help's mode and format lists, and the tagged lines of the page.
listed() { sed -n 's/^    \([a-z0-9]\{2,8\}\)\( .*\)\{0,1\}$/\1/p' | sort -u; }
tagged() {
  sed -n -e '/^ *-m, --mode/,/^ *--submode/p' -e '/^ *-f, --format/,/^ *-p, --pack/p' |
    sed -n 's/^ \{14\}\([a-z0-9]\{2,8\}\)\( .*\)\{0,1\}$/\1/p' | sort -u
}

# The synthesisers: the help's lines indented eight, the page's tagged lines under --synth.
synths_help() { sed -n 's/^        \([a-z0-9]\{4,8\}\)  .*$/\1/p' | sort -u; }
synths_page() {
  sed -n '/^ *--synth/,/^ *--clock/p' | sed -n 's/^ \{14\}\([a-z0-9]\{4,8\}\)  .*$/\1/p' | sort -u
}

failures=0
compare() {
  if [ "$2" = "$3" ]; then
    echo "ok:   the $1 are the same: $(echo "$2" | tr '\n' ' ')"
  else
    echo "FAIL: the $1 differ (< --help, > page):"
    diff <(echo "$2") <(echo "$3")
    failures=$((failures + 1))
  fi
}
compare options "$(printf '%s\n' "$help" | options)" "$(printf '%s\n' "$shown" | options)"
compare chips "$(printf '%s\n' "$help" | chips)" "$(printf '%s\n' "$shown" | chips)"
compare "modes and formats" "$(printf '%s\n' "$help" | listed)" "$(printf '%s\n' "$shown" | tagged)"
compare synthesisers "$(printf '%s\n' "$help" | synths_help)" "$(printf '%s\n' "$shown" | synths_page)"
[ "$failures" -eq 0 ] || exit 1
