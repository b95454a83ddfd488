#!/bin/sh
# lintian on the Debian package: no error. Warnings and notes are shown, not counted.
#   lintian.sh OUT     (OUT holds the package, made by make-deb.sh)
set -u
. "$(dirname "$0")/../../support/missing-tool.sh"
command -v lintian >/dev/null 2>&1 || missing "lintian is not installed (package lintian)"
. "$(dirname "$0")/packages.sh"
deb=$(package_in "$1" 'quorvel_*.deb' "the test packaging_deb") || exit 1
report=$(lintian --allow-root --display-info "$deb" 2>&1)
status=$?
printf '%s\n' "$report"
if printf '%s\n' "$report" | grep -q '^E: '; then
  echo "FAILED: lintian reports errors"
  exit 1
fi
# lintian's own failure (not a finding) shows as a status above 1.
[ $status -le 1 ] || {
  echo "FAILED: lintian did not run (exit code $status)"
  exit 1
}
echo "== lintian: no errors"
