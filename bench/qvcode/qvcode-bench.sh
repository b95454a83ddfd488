#!/usr/bin/env bash
# qvcode benchmark:  bench/qvcode/qvcode-bench.sh [BIN] [--quick]
# For every mode qvcode has, a schedule of 10,000 mixed messages (messages.awk) is encoded and
# written as a C header in one qvcode run, against Debian's reference tool for the mode run once per
# message, as a beacon builder would script it. Both are measured side by side in this run; the
# reference tool runs for a sample of the messages and its rate is scaled from that (10,000 runs of
# each tool would take minutes). Prints messages per second and their ratio.
# --quick uses 500 messages and a sample of 20: it checks that the benchmark works.
set -euo pipefail

bin=build/bin
quick=0
for argument in "$@"; do
  case $argument in
    --quick) quick=1 ;;
    *) bin=$argument ;;
  esac
done
bin=$(cd "$bin" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
count=10000
sample=200
if [ "$quick" = 1 ]; then
  count=500
  sample=20
fi

. "$here/../../tests/support/missing-tool.sh"
command -v awk >/dev/null 2>&1 || missing "awk is not installed"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
rate() { awk -v n="$1" -v from="$2" -v to="$3" 'BEGIN { printf "%.0f", n / (to - from) }'; }

# The modes whose reference tool takes a message as `MODEcode MESSAGE`.
modes="jt65 jt9 jt4 wspr ft8 ft4"
printf '%-6s %10s %14s %14s %8s\n' mode messages "qvcode msg/s" "tool msg/s" ratio
for mode in $modes; do
  tool=${mode}code
  if ! command -v "$tool" >/dev/null 2>&1; then
    missing "$tool is not installed (Debian package wsjtx)"
  fi
  awk -v mode="$mode" -v count="$count" -f "$here/messages.awk" >"$work/$mode.txt"
  # Messages the mode cannot send (a shorthand, say) are left out of both sides.
  : >"$work/$mode-ok.txt"
  while IFS= read -r message; do
    if "$bin/qvcode" --mode "$mode" -f list "$message" >/dev/null 2>&1; then
      echo "$message" >>"$work/$mode-ok.txt"
    fi
  done < <(head -n 50 "$work/$mode.txt")
  if [ "$(wc -l <"$work/$mode-ok.txt")" -lt 50 ]; then
    echo "FAILED: qvcode refuses some of the benchmark's $mode messages:" >&2
    comm -23 <(head -n 50 "$work/$mode.txt" | sort) <(sort "$work/$mode-ok.txt") >&2
    exit 1
  fi

  start=$(now)
  # What a mode changes in the generated messages is said on standard error; kept beside them.
  "$bin/qvcode" --mode "$mode" --format c --schedule "$work/$mode.txt" -o "$work/$mode.h" \
    2>"$work/$mode-notes.txt"
  end=$(now)
  ours=$(rate "$count" "$start" "$end")

  head -n "$sample" "$work/$mode.txt" >"$work/$mode-sample.txt"
  start=$(now)
  while IFS= read -r message; do
    "$tool" "$message" >/dev/null
  done <"$work/$mode-sample.txt"
  end=$(now)
  theirs=$(rate "$sample" "$start" "$end")
  printf '%-6s %10d %14d %14d %7.0fx\n' "$mode" "$count" "$ours" "$theirs" \
    "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { print a / b }')"
done
echo "(the tool's rate from $sample runs a mode, scaled; qvcode's from one run over all $count)"
