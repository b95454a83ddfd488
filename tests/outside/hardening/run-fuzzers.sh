#!/bin/sh
# The fuzz targets:  run-fuzzers.sh SOURCE BUILD GENERATOR BUDGET
# Makes (or brings up to date) the clang build of the targets in fuzz/ in BUILD and runs each one.
# BUDGET runs=N replays each target's committed seeds and then N inputs from a fixed seed: the same
# verdict on every machine, as CI needs. BUDGET seconds=N explores for N seconds from any seed, on
# the committed seeds plus what earlier explorations found in BUILD; a finding joins fuzz/corpus
# with a unit test. A failed check,
# a sanitizer report, a crash or an input that takes over 10 seconds fails the test; the input is
# kept in BUILD/findings. Without clang or its libFuzzer it skips (exit 77), saying why; when CI
# is set it fails instead, since CI installs both.
set -u
if [ $# -ne 4 ]; then
  echo "usage: run-fuzzers.sh SOURCE BUILD GENERATOR BUDGET" >&2
  exit 2
fi
source_dir=$1
build_dir=$2
generator=$3
budget=$4
case "$budget" in
  runs=[0-9]*) limit="-runs=${budget#runs=} -seed=20261209" ;;
  seconds=[0-9]*) limit="-max_total_time=${budget#seconds=}" ;;
  *) echo "BUDGET is runs=N or seconds=N, not '$budget'" >&2; exit 2 ;;
esac

. "$(dirname "$0")/../../support/missing-tool.sh"
. "$(dirname "$0")/../../support/failed-log.sh"

command -v clang++ >/dev/null 2>&1 || missing "clang++ is not installed (package clang)"
mkdir -p "$build_dir"
probe=$build_dir/probe
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
  >"$probe.cpp"
clang++ -fsanitize=fuzzer,address,undefined "$probe.cpp" -o "$probe" >/dev/null 2>&1 ||
  missing "clang cannot link libFuzzer (package libclang-rt-14-dev)"

started=$(date +%s)
echo "== configuring the fuzz build in $build_dir"
cmake -S "$source_dir" -B "$build_dir" -G "$generator" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON -DQUORVEL_SANITIZE=ON -DQUORVEL_TESTS=OFF \
  >"$build_dir/configure.log" 2>&1 ||
  failed_with_log "the fuzz build does not configure" "$build_dir/configure.log"
echo "== building (log in $build_dir/build.log)"
cmake --build "$build_dir" --target fuzzers >"$build_dir/build.log" 2>&1 ||
  failed_with_log "the fuzz targets do not build (fuzz/ comes in with -DQUORVEL_FUZZ=ON)" \
    "$build_dir/build.log"
echo "== built in $(($(date +%s) - started)) s"

failed=""
count=0
for fuzzer in "$build_dir"/bin/*-fuzzer; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer" -fuzzer)
  count=$((count + 1))
  corpus=$build_dir/corpus/$name
  findings=$build_dir/findings
  # A replay starts from the committed seeds alone, so no earlier run changes its verdict.
  case "$budget" in runs=*) rm -rf "$corpus" ;; esac
  mkdir -p "$corpus" "$findings"
  rm -f "$findings/$name"-*
  # shellcheck disable=SC2086
  set -- $limit -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-"
  [ -f "$source_dir/fuzz/$name.dict" ] && set -- "$@" -dict="$source_dir/fuzz/$name.dict"
  log=$build_dir/$name.log
  if "$fuzzer" "$@" "$corpus" "$source_dir/fuzz/corpus/$name" >"$log" 2>&1; then
    echo "== $name: $(grep -E '^stat::number_of_executed_units' "$log" | sed 's/.*: *//') runs, no finding"
  else
    echo "== $name FAILED:"
    grep -E -A25 'check failed|ERROR:|runtime error' "$log" | head -60
    for input in "$findings/$name"-*; do
      [ -f "$input" ] && { echo "-- the input, $input:"; od -A d -c "$input" | head -20; }
    done
    failed="$failed $name"
  fi
done
[ "$count" -gt 0 ] || { echo "FAILED: no fuzz target was built"; exit 1; }
[ -z "$failed" ] || { echo "FAILED:$failed"; exit 1; }
echo "PASSED: $count fuzz targets, $budget each"
