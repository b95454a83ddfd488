#!/bin/bash
# The Windows zip, made from the mingw-w64 build as the README says, unpacked into a fresh folder
# and used there as its README.TXT tells a user to: QUORVEL.EXE in a console (Wine's, in tmux),
# the whole dialogue, the include file equal to the Linux build's.
#   zip-under-wine.sh CROSS_BUILD LINUX_BIN OUT
# CROSS_BUILD is the Windows build that the test wine_build makes, with its Wine prefix.
set -u
if [ $# -ne 3 ]; then
  echo "usage: zip-under-wine.sh CROSS_BUILD LINUX_BIN OUT" >&2
  exit 2
fi
cross_build=$1
linux_bin=$(cd "$2" && pwd)
out=$3
wine_tests=$(cd "$(dirname "$0")/../wine" && pwd)
prefix=$cross_build/wine-prefix

. "$(dirname "$0")/../../support/missing-tool.sh"
. "$(dirname "$0")/packages.sh"
command -v tmux >/dev/null 2>&1 || missing "tmux is not installed (package tmux)"
command -v wine64 >/dev/null 2>&1 || [ -x /usr/lib/wine/wine64 ] || command -v wine >/dev/null 2>&1 ||
  missing "wine64 is not installed (package wine64)"
[ -f "$cross_build/CPackConfig.cmake" ] || {
  echo "FAILED: no Windows build in $cross_build (the test wine_build makes it)"
  exit 1
}

. "$wine_tests/tmux-checks.sh"
checks_begin qv-zip

# The zip.
zip=$(make_package ZIP "$cross_build" "$out" 'quorvel-*.zip') || exit 1
echo "== $zip"

# Unpacked as a user would, into a fresh folder: one folder with the programs and two texts.
mkdir -p "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "$zip") || {
  echo "FAILED: the zip does not unpack"
  exit 1
}
folder=$(find "$work/unzipped" -mindepth 1 -maxdepth 1 -type d)
[ "$(echo "$folder" | wc -l)" = 1 ] && [ -n "$folder" ] || {
  echo "FAILED: the zip does not unpack into one folder: $(ls "$work/unzipped")"
  exit 1
}
expected_files="JT65CODE.EXE LICENSE.TXT QUORVEL.EXE QVCODE.EXE README.TXT"
listed=$(cd "$folder" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
if [ "$listed" = "$(echo "$expected_files" | tr ' ' '\n' | sort | tr '\n' ' ')" ]; then
  pass "the zip holds $listed"
else
  fail "the zip holds $listed, not $expected_files"
fi
for text in README.TXT LICENSE.TXT; do
  lines=$(wc -l <"$folder/$text")
  crlf=$(grep -c $'\r$' "$folder/$text")
  if [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] && [ "$(tail -c 2 "$folder/$text" | od -An -c | tr -d ' ')" = '\r\n' ]; then
    pass "$text: all $lines lines end in CR LF"
  else
    fail "$text: $crlf of $lines lines end in CR LF"
  fi
done

# The include file of the Linux build, for the same message.
mkdir -p "$work/linux"
cp "$linux_bin/JT65CODE.EXE" "$work/linux/"
(cd "$work/linux" && "$linux_bin/quorvel" "CQ K1ABC FN42" </dev/null >/dev/null 2>&1)

# The whole dialogue in the unzipped folder, as README.TXT tells: a console there, QUORVEL typed.
give_to_wine "$work/unzipped"
start zip "$folder" "$wine_tests/run-under-wine.sh" "$prefix" QUORVEL.EXE
if wait_for zip '^Message' && type_line zip "cq k1abc fn42" && wait_for zip '^Destination file' &&
  type_line zip "" && wait_for zip '^QV-EXIT='; then
  screen zip >"$work/zip.screen"
  grep -qx 'QV-EXIT=0' "$work/zip.screen" || fail "QUORVEL.EXE: $(grep QV-EXIT "$work/zip.screen")"
  grep -qx 'Symbols written to JT65SYMB.INC' "$work/zip.screen" ||
    fail "QUORVEL.EXE did not report the include file"
  if cmp -s "$folder/JT65SYMB.INC" "$work/linux/JT65SYMB.INC"; then
    pass "QUORVEL.EXE from the zip writes the Linux build's include file"
  else
    fail "the include file of QUORVEL.EXE from the zip differs from the Linux build's"
  fi
  [ ! -e "$folder/JT65TEMP.TXT" ] || fail "the encoder listing was left in the folder"
else
  fail "the dialogue of QUORVEL.EXE from the zip did not finish"
fi

# QVCODE.EXE from the zip prints the same tables as the Linux build's qvcode, byte for byte.
same_tables() {
  (cd "$folder" && "$wine_tests/run-under-wine.sh" "$prefix" QVCODE.EXE "$@") >"$work/qvcode-wine.out" 2>&1
  local wine_status=$?
  "$linux_bin/qvcode" "$@" >"$work/qvcode-linux.out" 2>&1
  local linux_status=$?
  if [ $wine_status -eq 0 ] && [ $linux_status -eq 0 ] && [ -s "$work/qvcode-linux.out" ] &&
    cmp -s "$work/qvcode-wine.out" "$work/qvcode-linux.out"; then
    pass "QVCODE.EXE $* prints qvcode's table"
  else
    fail "QVCODE.EXE $*: exit codes $wine_status and $linux_status, outputs differ"
    diff <(od -c "$work/qvcode-wine.out") <(od -c "$work/qvcode-linux.out") | head -10
  fi
}
same_tables "CQ K1ABC FN42"
same_tables --mode wspr --sequence tones --format c --progmem "K1ABC FN42 37"
same_tables --mode ft8 --format json "CQ K1ABC FN42" "K1ABC W9XYZ -11"
same_tables --mode jt4g --pack --format hex "CQ K1ABC FN42"

if [ "$failures" -ne 0 ]; then
  echo "== $failures check(s) failed; screens and files are in $work"
  exit 1
fi
echo "== the Windows zip works"
