#!/usr/bin/env bash
# Whole-run benchmark of quorvel:  bench/whole-run/whole-run-bench.sh [BIN] [--quick]
# BIN is the build's bin folder (default build/bin). Prints a table; each figure is a ratio of
# two things measured side by side in this same run:
#   1. a scripted whole run of quorvel (no terminal) against one run of Debian's jt65code;
#   2. the conversion of a listing of 1,000,000 symbols by quorvel (its encoder a script that
#      prints a prepared listing) against an awk script doing the same conversion; and, to show
#      what the difference is made of, against the same awk script writing every piece at once;
#   3. the bytes a terminal (tmux) receives from quorvel for a whole run, caught by tmux pipe-pane,
#      against the bytes of the text that is left visible.
# --quick makes few runs: it checks that the benchmark works, not what it measures.
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
message="CQ K1ABC FN42"
symbols=1000000

. "$here/../../tests/support/missing-tool.sh"
for tool in hyperfine tmux awk setsid; do
  command -v "$tool" >/dev/null 2>&1 || missing "$tool is not installed"
done
reference=/usr/bin/jt65code
[ -x "$reference" ] || missing "Debian's jt65code is not installed (package wsjtx)"
for program in quorvel qcmd JT65CODE.EXE; do
  [ -x "$bin/$program" ] || { echo "FAILED: $bin/$program is missing; build first" >&2; exit 1; }
done

work=$(mktemp -d)
socket=quorvel-bench-$$
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
unset COMSPEC comspec
if [ $quick = 1 ]; then runs=(--warmup 0 --runs 2); long_runs=(--warmup 0 --runs 1); else
  runs=(--warmup 5 --runs 40); long_runs=(--warmup 1 --runs 5); fi

# The mean of each command in a hyperfine CSV export, in seconds, in the order they were given.
means() { awk -F, 'NR > 1 { print $2 }' "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }
verdict() { awk -v r="$1" -v goal="$2" -v way="$3" \
  'BEGIN { print ((way == "max" ? r <= goal : r >= goal) ? "met" : "missed") }'; }
rows=()
row() { rows+=("$(printf '| %-44s | %12s | %12s | %6s | %-7s | %-6s |' "$@")"); }

# 1. The whole run, with no terminal at all (setsid), against Debian's jt65code.
mkdir "$work/run"
cp "$bin/quorvel" "$bin/qcmd" "$bin/JT65CODE.EXE" "$work/run"
(cd "$work/run" && setsid -w hyperfine --style none "${runs[@]}" --export-csv "$work/run.csv" \
  "./quorvel '$message' </dev/null" "$reference '$message'" "./JT65CODE.EXE '$message'" \
  >/dev/null 2>&1 </dev/null)
[ -s "$work/run/JT65SYMB.INC" ] || { echo "FAILED: the whole run wrote no include file" >&2; exit 1; }
read -r quorvel_run reference_run encoder_run < <(means "$work/run.csv" | paste -s -d ' ')
r=$(ratio "$quorvel_run" "$reference_run")
row "whole run: quorvel / Debian jt65code" "$(ms "$quorvel_run")" "$(ms "$reference_run")" \
  "$r" "<= 2.0" "$(verdict "$r" 2.0 max)"
# A whole run starts three programs (quorvel, qcmd, the encoder); one of them alone, for scale.
r=$(ratio "$encoder_run" "$reference_run")
row "  quorvel's encoder alone / Debian jt65code" "$(ms "$encoder_run")" "$(ms "$reference_run")" \
  "$r" "-" "-"

# 2. The conversion of 1,000,000 symbols: quorvel's encoder prints a prepared listing.
mkdir "$work/convert"
cp "$bin/quorvel" "$bin/qcmd" "$work/convert"
awk -v n=$symbols 'BEGIN {
  printf "Message:   BENCH\r\nPacked message, 6-bit symbols:  1 2 3\r\nChannel symbols, including FEC:\r\n"
  for (i = 0; i < n; i++) {
    printf (i % 21 == 0 ? "%5d" : "%3d"), (i * 37 + 11) % 64
    if (i % 21 == 20 || i == n - 1) printf "\r\n"
  }
  printf "Decoded message: BENCH\r\n" }' >"$work/listing.txt"
printf '#!/bin/sh\nexec cat %s\n' "$work/listing.txt" >"$work/convert/JT65CODE.EXE"
chmod +x "$work/convert/JT65CODE.EXE"
(cd "$work/convert" && setsid -w hyperfine --style none "${long_runs[@]}" \
  --export-csv "$work/convert.csv" \
  "./quorvel BENCH </dev/null" \
  "awk -f $here/convert.awk $work/listing.txt >awk.inc" \
  "awk -v unbuffered=1 -f $here/convert.awk $work/listing.txt >awk-unbuffered.inc" \
  >/dev/null 2>&1 </dev/null)
for made in awk.inc awk-unbuffered.inc; do
  cmp -s "$work/convert/JT65SYMB.INC" "$work/convert/$made" ||
    { echo "FAILED: quorvel and awk ($made) made different include files" >&2; exit 1; }
done
read -r quorvel_convert awk_convert awk_unbuffered < <(means "$work/convert.csv" | paste -s -d ' ')
r=$(ratio "$awk_convert" "$quorvel_convert")
row "1,000,000 symbols: awk / quorvel (speed)" "$(ms "$quorvel_convert")" "$(ms "$awk_convert")" \
  "$r" ">= 1.0" "$(verdict "$r" 1.0 min)"
r=$(ratio "$awk_unbuffered" "$quorvel_convert")
row "  the same, awk writing each piece at once" "$(ms "$quorvel_convert")" \
  "$(ms "$awk_unbuffered")" "$r" "-" "-"

# 3. Bytes to the terminal for a whole run in tmux (80 x 24), Enter at the destination prompt.
# tmux pipe-pane catches what the pane receives, from before quorvel starts (it waits for the
# file "go") until it has given the terminal back (its last bytes turn wrapping on again).
mkdir "$work/tty"
cp "$bin/quorvel" "$bin/qcmd" "$bin/JT65CODE.EXE" "$work/tty"
printf 'cd %s && while [ ! -f go ]; do sleep 0.01; done && ./quorvel %s\nexec sleep 600\n' \
  "$work/tty" "'$message'" >"$work/tty.sh"
tmux() { command tmux -f /dev/null -L "$socket" "$@"; }
(unset TMUX; tmux new-session -d -x 80 -y 24 -s bench "sh $work/tty.sh")
tmux pipe-pane -t bench "cat > '$work/tty-bytes'"
touch "$work/tty/go"
for _ in $(seq 200); do
  tmux capture-pane -p -t bench | grep -q 'Destination file' && break
  sleep 0.05
done
tmux send-keys -t bench Enter
given_back() { [ "$(tail -c 5 "$work/tty-bytes" 2>/dev/null)" = "$(printf '\033[?7h')" ]; }
for _ in $(seq 200); do given_back && break; sleep 0.05; done
given_back || { echo "FAILED: quorvel in tmux did not give the terminal back" >&2; exit 1; }
tmux pipe-pane -t bench
# What is left to read: scrollback and window, trailing blanks and empty lines at the end dropped.
tmux capture-pane -p -S - -E - -t bench | sed 's/ *$//' |
  awk '{ line[NR] = $0 } $0 != "" { last = NR } END { for (i = 1; i <= last; i++) print line[i] }' \
  >"$work/visible.txt"
tty_bytes=$(wc -c <"$work/tty-bytes")
visible_bytes=$(wc -c <"$work/visible.txt")
r=$(ratio "$tty_bytes" "$visible_bytes")
row "terminal bytes / visible text bytes" "$tty_bytes B" "$visible_bytes B" "$r" "<= 1.5" \
  "$(verdict "$r" 1.5 max)"

echo "Whole-run benchmark ($(date -u +%Y-%m-%d), $(nproc) cores, awk is $(basename "$(readlink -f "$(command -v awk)")"))"
echo
printf '| %-44s | %12s | %12s | %6s | %-7s | %-6s |\n' measure quorvel yardstick ratio goal result
printf '|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' $(seq 46))" "$(printf -- '-%.0s' $(seq 14))" \
  "$(printf -- '-%.0s' $(seq 14))" "$(printf -- '-%.0s' $(seq 8))" "$(printf -- '-%.0s' $(seq 9))" \
  "$(printf -- '-%.0s' $(seq 8))"
printf '%s\n' "${rows[@]}"
