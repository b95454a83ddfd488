#!/bin/sh
# Makes the Debian package of a Linux build, as the README says, into a folder of the tests:
#   make-deb.sh BUILD OUT
# and checks what it must hold: programs that need no shared library, hence no dependencies, and
# no file that an installed package already owns (Debian's wsjtx has a jt65code of its own).
set -u
if [ $# -ne 2 ]; then
  echo "usage: make-deb.sh BUILD OUT" >&2
  exit 2
fi
build=$1
out=$2
. "$(dirname "$0")/../../support/missing-tool.sh"
. "$(dirname "$0")/packages.sh"
command -v cpack >/dev/null 2>&1 || missing "cpack is not installed (package cmake)"
command -v dpkg-deb >/dev/null 2>&1 || missing "dpkg-deb is not installed (package dpkg)"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

deb=$(make_package DEB "$build" "$out" 'quorvel_*.deb') || exit 1
echo "== $deb"
dpkg-deb -f "$deb"

[ -z "$(dpkg-deb -f "$deb" Depends)" ] || fail "the package depends on: $(dpkg-deb -f "$deb" Depends)"

tree="$out/contents"
dpkg-deb -x "$deb" "$tree"
for program in usr/lib/quorvel/quorvel usr/lib/quorvel/qcmd usr/lib/quorvel/jt65code \
  usr/bin/qvcode usr/bin/quorvel-workdir; do
  [ -f "$tree/$program" ] && [ -x "$tree/$program" ] || fail "/$program is missing"
done
for page in quorvel qvcode quorvel-workdir; do
  [ -f "$tree/usr/share/man/man1/$page.1.gz" ] || fail "the manual page $page.1.gz is missing"
done
# The encoder core as an Arduino library, in the documentation, its version the package's.
arduino="$tree/usr/share/doc/quorvel/arduino/Quorvel"
for file in library.properties src/Quorvel.h src/modes/core/common/qvc-status.h \
  examples/WsprTones/WsprTones.ino; do
  [ -f "$arduino/$file" ] || fail "the Arduino library lacks $file"
done
grep -qx "version=$(dpkg-deb -f "$deb" Version)" "$arduino/library.properties" ||
  fail "the Arduino library's version is not the package's"
# The version is written in a few places by hand; they must agree with the build's.
version=$(dpkg-deb -f "$deb" Version)
changelog=$(gzip -dc "$tree/usr/share/doc/quorvel/changelog.gz" | head -1)
[ "$changelog" = "quorvel ($version) unstable; urgency=medium" ] ||
  fail "the changelog's first entry is not for version $version: $changelog"
for page in "$tree"/usr/share/man/man1/*.1.gz; do
  gzip -dc "$page" | grep -q "^\.TH .* \"Quorvel $version\" " ||
    fail "$(basename "$page") does not name version $version in its .TH line"
done
# Every ELF file runs without a shared library: static, and so no dependency is missing.
find "$tree" -type f | while read -r file; do
  if [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ]; then
    if readelf -l "$file" 2>/dev/null | grep -q 'INTERP\|interpreter'; then
      echo "FAIL: ${file#"$tree"} asks for a program interpreter (dynamically linked)"
    fi
  fi
done | grep . && fail "dynamically linked programs"
# No file of ours belongs to a package installed here; for one, /usr/bin/jt65code is Debian's.
(cd "$tree" && find . ! -type d) | sed 's/^\.//' | while read -r path; do
  owner=$(dpkg-query -S "$path" 2>/dev/null | grep -v '^quorvel:')
  [ -z "$owner" ] || echo "FAIL: $path is already owned: $owner"
done | grep . && fail "files that other packages own"

if [ "$failures" -ne 0 ]; then
  echo "== $failures check(s) failed"
  exit 1
fi
echo "== the Debian package is made: $(dpkg-deb -c "$deb" | wc -l) entries"
