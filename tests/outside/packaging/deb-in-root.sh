#!/bin/sh
# The Debian package installed into an empty root of its own, and its programs run from there as a
# user would run them after `apt install`:
#   deb-in-root.sh OUT LINUX_BIN
# OUT holds the package (made by make-deb.sh), LINUX_BIN the build's programs, whose results the
# installed programs must match. The root starts with an empty package database, so the install
# also shows that the package needs no other package.
set -u
if [ $# -ne 2 ]; then
  echo "usage: deb-in-root.sh OUT LINUX_BIN" >&2
  exit 2
fi
out=$1
linux_bin=$(cd "$2" && pwd)
. "$(dirname "$0")/../../support/missing-tool.sh"
command -v dpkg >/dev/null 2>&1 || missing "dpkg is not installed (a Debian system is needed)"
. "$(dirname "$0")/packages.sh"
deb=$(package_in "$out" 'quorvel_*.deb' "the test packaging_deb") || exit 1

work=$(mktemp -d "${TMPDIR:-/tmp}/qv-deb-root.XXXXXX")
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok:   $*"; }
trap '[ "$failures" -ne 0 ] || rm -rf "$work"' EXIT

# apt accepts the file as the README installs it (a simulation: nothing is installed here).
if command -v apt-get >/dev/null 2>&1; then
  deb_path=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
  if apt-get install -s "$deb_path" >"$work/apt.log" 2>&1 &&
    grep -Eq '^Inst quorvel |quorvel is already the newest' "$work/apt.log"; then
    pass "apt install accepts the package file"
  else
    fail "apt install does not accept the package file: $(tail -5 "$work/apt.log")"
  fi
fi

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
not_root=
[ "$(id -u)" = 0 ] || not_root=--force-not-root
# shellcheck disable=SC2086 # no option at all when root
if dpkg --root="$root" $not_root --force-script-chrootless --log=/dev/null -i "$deb" \
  >"$work/dpkg.log" 2>&1; then
  pass "dpkg installs the package into an empty root"
else
  cat "$work/dpkg.log"
  echo "FAILED: dpkg could not install $deb into an empty root"
  exit 1
fi
if [ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f '${Status}' quorvel)" = \
  "install ok installed" ]; then
  pass "the package is installed and configured"
else
  fail "the package is not fully installed in the root"
fi

# From here on the installed programs come first along PATH; the host gives only the shell tools.
PATH="$root/usr/bin:/usr/bin:/bin"
export PATH
unset COMSPEC comspec 2>/dev/null

[ "$(command -v quorvel)" = "$root/usr/bin/quorvel" ] || fail "quorvel is not the installed one"

# The expected include file: the build's quorvel in a folder of its own.
mkdir -p "$work/expected"
cp "$linux_bin/JT65CODE.EXE" "$work/expected/"
(cd "$work/expected" && "$linux_bin/quorvel" "CQ K1ABC FN42" </dev/null >/dev/null 2>&1)

# The documented way to a working folder, in a folder with a blank in its name.
folder="$work/my beacon"
if quorvel-workdir "$folder" >"$work/workdir.out" 2>&1 && [ -f "$folder/JT65CODE.EXE" ]; then
  pass "quorvel-workdir makes a working folder: $(cat "$work/workdir.out")"
else
  fail "quorvel-workdir failed: $(cat "$work/workdir.out")"
fi
(cd "$folder" && quorvel "CQ K1ABC FN42" </dev/null >/dev/null 2>&1)
status=$?
if [ $status -eq 0 ] && cmp -s "$folder/JT65SYMB.INC" "$work/expected/JT65SYMB.INC"; then
  pass "quorvel from PATH in the working folder writes the build's include file"
else
  fail "quorvel in the working folder: exit code $status, include file differs or is missing"
fi
[ ! -e "$folder/JT65TEMP.TXT" ] || fail "the encoder listing was left in the working folder"

# Without the encoder in the current folder quorvel says so and writes nothing.
mkdir -p "$work/bare"
(cd "$work/bare" && quorvel "CQ K1ABC FN42" </dev/null >/dev/null 2>&1)
status=$?
if [ $status -eq 1 ] && [ -z "$(ls -A "$work/bare")" ]; then
  pass "quorvel outside a working folder ends with exit code 1 and writes nothing"
else
  fail "quorvel outside a working folder: exit code $status, files: $(ls -A "$work/bare")"
fi

# quorvel-workdir's wrong uses: each says so, with its own exit code, and makes nothing.
failures_before=$failures
quorvel-workdir --bogus >/dev/null 2>&1
[ $? -eq 2 ] || fail "quorvel-workdir --bogus does not end with exit code 2"
quorvel-workdir "$work/a" "$work/b" >/dev/null 2>&1
[ $? -eq 2 ] && [ ! -e "$work/a" ] || fail "quorvel-workdir with two folders is not refused"
: >"$work/plain-file"
message=$(quorvel-workdir "$work/plain-file/sub" 2>&1)
[ $? -eq 1 ] && [ -n "$message" ] || fail "a folder below a file is not refused with a message"
mkdir -p "$work/taken/JT65CODE.EXE"
quorvel-workdir "$work/taken" >/dev/null 2>&1
[ $? -eq 1 ] || fail "a folder named JT65CODE.EXE is not refused"
[ -z "$(find "$work" -name '.JT65CODE.EXE.*')" ] || fail "a partial copy was left behind"
[ "$failures" -ne "$failures_before" ] || pass "quorvel-workdir refuses wrong uses"

# qvcode from PATH: the build's tables, and its manual page is there for man.
if [ "$(command -v qvcode)" = "$root/usr/bin/qvcode" ]; then
  for run in "jt65:CQ K1ABC FN42" "wspr:K1ABC FN42 37" "ft8:CQ K1ABC FN42"; do
    mode=${run%%:*}
    installed=$(cd "$work" && qvcode --mode "$mode" --format list "${run#*:}" 2>&1) &&
      built=$("$linux_bin/qvcode" --mode "$mode" --format list "${run#*:}" 2>&1)
    status=$?
    if [ $status -eq 0 ] && [ -n "$installed" ] && [ "$installed" = "$built" ]; then
      pass "qvcode from PATH prints the build's $mode table"
    else
      fail "qvcode from PATH, $mode: $installed"
    fi
  done
else
  fail "qvcode is not found along PATH in the installed root"
fi
if ! command -v man >/dev/null 2>&1; then
  echo "note: man is not installed; the installed manual page is left unread"
elif man -l "$root/usr/share/man/man1/qvcode.1.gz" 2>/dev/null | grep -q -- '--schedule'; then
  pass "the installed manual page of qvcode reads"
else
  fail "the installed manual page of qvcode does not read"
fi

# qvbench, where the build made it: it runs from PATH with nothing else installed, and its page
# is there for man.
if [ -x "$linux_bin/qvbench" ]; then
  if [ "$(command -v qvbench)" = "$root/usr/bin/qvbench" ] &&
    qvbench --help 2>&1 | grep -q -- '--dial'; then
    pass "qvbench from PATH runs"
  else
    fail "qvbench is not installed along PATH or does not run"
  fi
  if command -v man >/dev/null 2>&1 &&
    ! man -l "$root/usr/share/man/man1/qvbench.1.gz" 2>/dev/null | grep -q -- '--pps'; then
    fail "the installed manual page of qvbench does not read"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "== $failures check(s) failed; the root and the folders are in $work"
  exit 1
fi
echo "== the installed package works"
