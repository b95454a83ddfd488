#!/bin/sh
# The test suite under AddressSanitizer and UndefinedBehaviorSanitizer:
#   run-sanitized-suite.sh SOURCE BUILD GENERATOR COMPILER
# Makes (or brings up to date) a sanitized build of SOURCE in BUILD, leaving out the slow layers
# (QUORVEL_NESTED, and tests labelled "slow"), and runs its tests. Every program the tests start
# is sanitized too, and may report into a file even when the test that started it passes: any
# report fails this test.
set -u
if [ $# -ne 4 ]; then
  echo "usage: run-sanitized-suite.sh SOURCE BUILD GENERATOR COMPILER" >&2
  exit 2
fi
source_dir=$1
build_dir=$2
generator=$3
compiler=$4
started=$(date +%s)
. "$(dirname "$0")/../../support/failed-log.sh"

echo "== configuring the sanitized build in $build_dir"
mkdir -p "$build_dir"
cmake -S "$source_dir" -B "$build_dir" -G "$generator" -DCMAKE_CXX_COMPILER="$compiler" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_SANITIZE=ON -DQUORVEL_NESTED=ON \
  >"$build_dir/configure.log" 2>&1 ||
  failed_with_log "the sanitized build does not configure" "$build_dir/configure.log"
echo "== building (log in $build_dir/build.log)"
cmake --build "$build_dir" >"$build_dir/build.log" 2>&1 ||
  failed_with_log "the sanitized build does not build" "$build_dir/build.log"
built=$(date +%s)

reports=$build_dir/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"

echo "== running its tests"
ctest --test-dir "$build_dir" --output-on-failure --label-exclude slow
status=$?
finished=$(date +%s)
echo "== build $((built - started)) s, tests $((finished - built)) s"

if [ -n "$(ls -A "$reports")" ]; then
  for report in "$reports"/*; do
    echo "== $report"
    cat "$report"
  done
  echo "FAILED: the sanitizers reported the errors above"
  exit 1
fi
[ $status -eq 0 ] || { echo "FAILED: tests failed under the sanitizers"; exit 1; }
echo "PASSED: no sanitizer reports"
