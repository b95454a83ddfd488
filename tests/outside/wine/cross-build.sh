#!/bin/sh
# The Windows build, made and tested from the Linux build:
#   cross-build.sh build SOURCE BUILD   makes (or brings up to date) the mingw-w64 build in BUILD
#   cross-build.sh suite SOURCE BUILD   runs that build's whole test suite under Wine
# Without the cross compiler, Wine or the GoogleTest sources it skips (exit 77), saying why; when
# CI is set it fails instead, since CI installs all of them.
set -u
if [ $# -ne 3 ] || { [ "$1" != build ] && [ "$1" != suite ]; }; then
  echo "usage: cross-build.sh build|suite SOURCE BUILD" >&2
  exit 2
fi
mode=$1
source_dir=$2
build_dir=$3

. "$(dirname "$0")/../../support/missing-tool.sh"
. "$(dirname "$0")/../../support/failed-log.sh"

have() { command -v "$1" >/dev/null 2>&1; }

have x86_64-w64-mingw32-g++-posix || have x86_64-w64-mingw32-g++ ||
  missing "the mingw-w64 cross compiler is not installed (package g++-mingw-w64-x86-64)"
have wine64 || have /usr/lib/wine/wine64 || have /usr/lib64/wine/wine64 || have wine ||
  missing "wine64 is not installed (package wine64)"
[ -f /usr/src/googletest/googletest/CMakeLists.txt ] ||
  missing "the GoogleTest sources are not installed (package googletest)"

jobs=$(nproc 2>/dev/null || echo 2)
started=$(date +%s)

if [ "$mode" = build ]; then
  echo "== configuring the Windows build in $build_dir"
  generator=
  if [ ! -f "$build_dir/CMakeCache.txt" ] && have ninja; then generator="-GNinja"; fi
  # shellcheck disable=SC2086 # no generator: no argument at all
  cmake -S "$source_dir" -B "$build_dir" $generator \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_NESTED=ON >"$build_dir.configure.log" 2>&1 ||
    failed_with_log "the Windows build does not configure" "$build_dir.configure.log"
  echo "== building (log in $build_dir.build.log)"
  cmake --build "$build_dir" -j"$jobs" >"$build_dir.build.log" 2>&1 ||
    failed_with_log "the Windows build does not build" "$build_dir.build.log"
  grep -E 'warning:' "$build_dir.build.log" | sort -u | head -40
else
  [ -f "$build_dir/CTestTestfile.cmake" ] || {
    echo "FAILED: no Windows build in $build_dir (the test wine_build makes it)"
    exit 1
  }
  echo "== running the Windows test suite under Wine"
  ctest --test-dir "$build_dir" -j"$jobs" --timeout 300 --output-on-failure
  status=$?
  [ $status -eq 0 ] || exit $status
fi
echo "== done in $(($(date +%s) - started)) s"
