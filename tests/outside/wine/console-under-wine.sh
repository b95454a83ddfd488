#!/bin/bash
# The real QUORVEL.EXE under Wine in a terminal, driven through tmux as a user would drive it:
#   console-under-wine.sh WINDOWS_BIN LINUX_BIN PREFIX
# WINDOWS_BIN holds QUORVEL.EXE and JT65CODE.EXE (the mingw-w64 build), LINUX_BIN the Linux build's
# quorvel, JT65CODE.EXE and qcmd, PREFIX the Wine prefix of the Windows build. Each dialogue runs
# once under Wine, with Wine's own cmd.exe as the command interpreter, and once with the Linux
# build in the same way; the screens and the include files must be the same.
#
# Wine's console is used as plain `wine` gives it in a terminal: Wine draws the console's screen
# buffer onto the terminal (tmux here) and turns typed bytes into key records. `wineconsole`
# opens a window of its own and shows nothing without a display.
set -u
if [ $# -ne 3 ]; then
  echo "usage: console-under-wine.sh WINDOWS_BIN LINUX_BIN PREFIX" >&2
  exit 2
fi
windows_bin=$1
linux_bin=$2
prefix=$3
here=$(cd "$(dirname "$0")" && pwd)

. "$(dirname "$0")/../../support/missing-tool.sh"
command -v tmux >/dev/null 2>&1 || missing "tmux is not installed (package tmux)"
for program in "$windows_bin/QUORVEL.EXE" "$windows_bin/JT65CODE.EXE" "$linux_bin/quorvel" \
  "$linux_bin/JT65CODE.EXE" "$linux_bin/qcmd"; do
  [ -f "$program" ] || {
    echo "FAILED: $program is missing (build it first)"
    exit 1
  }
done

. "$here/tmux-checks.sh"
checks_begin qv-wine-console

windows_side() { echo "$here/run-under-wine.sh" "$prefix" QUORVEL.EXE; }

# dialogue SIDE NAME MESSAGE DESTINATION [TAIL...]: one whole run in a folder of its own, which
# holds the encoder; the screen is kept in NAME.screen. SIDE is wine or linux. An empty MESSAGE
# with a TAIL means the message comes from the command line.
dialogue() {
  local side=$1 name=$2 message=$3 destination=$4
  shift 4
  local folder="$work/$name"
  mkdir -p "$folder"
  if [ "$side" = wine ]; then
    cp "$windows_bin/JT65CODE.EXE" "$folder/"
    give_to_wine "$folder"
    start "$name" "$folder" "$here/run-under-wine.sh" "$prefix" "$windows_bin/QUORVEL.EXE" "$@"
  else
    cp "$linux_bin/JT65CODE.EXE" "$folder/"
    start "$name" "$folder" "$linux_bin/quorvel" "$@"
  fi
  if [ -z "$message" ] && [ $# -gt 0 ]; then
    wait_for "$name" '^Destination file' || return 1
  else
    wait_for "$name" '^Message' || return 1
    type_line "$name" "$message"
    wait_for "$name" '^Destination file' || return 1
  fi
  type_line "$name" "$destination"
  wait_for "$name" '^QV-EXIT=' || return 1
  screen "$name" >"$work/$name.screen"
  pane kill-session -t "$name"
}

# same_run NAME MESSAGE DESTINATION FILE [TAIL...]: the dialogue under Wine and on Linux; both
# must end with exit code 0, show the same screen and write the same include file FILE.
same_run() {
  local name=$1 message=$2 destination=$3 file=$4
  shift 4
  dialogue wine "$name-wine" "$message" "$destination" "$@" || {
    fail "$name: the dialogue under Wine did not finish"
    return 1
  }
  dialogue linux "$name-linux" "$message" "$destination" "$@" || {
    fail "$name: the dialogue on Linux did not finish"
    return 1
  }
  local wine_screen="$work/$name-wine.screen" linux_screen="$work/$name-linux.screen"
  grep -q '^QV-EXIT=0$' "$wine_screen" || fail "$name: exit code under Wine: $(grep QV-EXIT "$wine_screen")"
  if cmp -s "$work/$name-wine/$file" "$work/$name-linux/$file"; then
    pass "$name: the include file is the same under Wine and on Linux"
  else
    fail "$name: include files differ"
    diff <(od -c "$work/$name-wine/$file" 2>&1) <(od -c "$work/$name-linux/$file" 2>&1) | head -20
  fi
  if diff -q "$wine_screen" "$linux_screen" >/dev/null; then
    pass "$name: the screen is the same under Wine and on Linux"
  else
    fail "$name: the screens differ (< Wine, > Linux)"
    diff "$wine_screen" "$linux_screen" | head -40
  fi
  # Every line written to the include file was echoed on the screen, in order.
  local expected
  expected=$(tr -d '\r' <"$work/$name-wine/$file" | grep -v '^$')
  if [ -n "$expected" ] && grep -Fxf <(echo "$expected") "$wine_screen" | diff -q - <(echo "$expected") >/dev/null; then
    pass "$name: the table is echoed under Wine"
  else
    fail "$name: the table is not echoed as written under Wine"
  fi
}

# as_reference FILE MESSAGE: the include file's 63 symbols are those of Debian's jt65code for the
# message as typed (upper-cased, cut to 13).
as_reference() {
  local file=$1 message=$2
  if ! command -v jt65code >/dev/null 2>&1; then
    echo "skip: jt65code is not installed (package wsjtx): no comparison for $message"
    return 0
  fi
  local typed expected got
  typed=$(printf '%s' "${message:0:13}" | tr 'a-z' 'A-Z')
  expected=$(jt65code "$typed" | sed -n '/^Information-carrying channel symbols/,+3p' | tail -n 3 |
    tr -s ' \n' '\n\n' | grep -v '^$' | sed 's/^0*\(.\)/\1/' | tr '\n' ' ')
  got=$(grep -o "d'[0-9][0-9]'" "$file" | tr -d "d'" | sed 's/^0*\(.\)/\1/' | tr '\n' ' ')
  [ -n "$expected" ] && [ "$got" = "$expected" ]
}

echo "== Wine console tests in $work"

# 1. The whole dialogue with a typed message and the default destination.
if same_run typed "cq k1abc fn42" "" JT65SYMB.INC; then
  s="$work/typed-wine.screen"
  if grep -qx 'Generates JT65 Symbols from 13 character plain text message' "$s" &&
    grep -qx 'Calls JT65CODE.EXE' "$s" && grep -qx 'Message  cq k1abc fn42' "$s" &&
    grep -qx 'Destination file ( JT65SYMB.INC )' "$s" &&
    grep -qx 'Symbols written to JT65SYMB.INC' "$s" &&
    grep -qx "    ;    CQ K1ABC FN42" "$s"; then
    pass "typed: banner, prompts, table and report under Wine"
  else
    fail "typed: the dialogue under Wine is not complete"
  fi
  [ ! -e "$work/typed-wine/JT65TEMP.TXT" ] || fail "typed: the encoder listing was left behind"
fi

# 2. A message that would break out of its quotes: nothing else runs under Wine's cmd.exe.
if same_run quote '"&md pwned&"' amp.inc amp.inc; then
  if has_entry "$work/quote-wine" pwned; then
    fail "quote: Wine's cmd.exe ran a command hidden in the message"
  else
    pass "quote: a message with \" and & runs nothing else under Wine's cmd.exe"
  fi
  if as_reference "$work/quote-wine/amp.inc" '"&md pwned&"'; then
    pass "quote: the symbols are Debian jt65code's for the message as typed"
  else
    fail "quote: the symbols differ from Debian jt65code's for the message as typed"
  fi
fi

# 3. Variables and the other characters the interpreter acts on are not expanded either.
if same_run percent '%os%&md pwned' pc.inc pc.inc; then
  if has_entry "$work/percent-wine" pwned || grep -qi windows_nt "$work/percent-wine/pc.inc"; then
    fail "percent: Wine's cmd.exe acted on % or &"
  else
    pass "percent: % and & reach no interpreter under Wine"
  fi
  if as_reference "$work/percent-wine/pc.inc" '%os%&md pwned'; then
    pass "percent: the symbols are Debian jt65code's for the message as typed"
  else
    fail "percent: the symbols differ from Debian jt65code's for the message as typed"
  fi
fi
if same_run others 'k1a<w9x>|^-15' ot.inc ot.inc; then
  if as_reference "$work/others-wine/ot.inc" 'k1a<w9x>|^-15'; then
    pass "others: < > | ^ inside the quotes reach the encoder as typed under Wine's cmd.exe"
  else
    fail "others: the symbols differ from Debian jt65code's for the message as typed"
  fi
fi

# 4. The message as the command tail.
same_run tail "" "" JT65SYMB.INC hello world

# 5. Backspace, Ctrl+C, Tab and Esc at the prompt. Under Wine, Ctrl+C reaches the program as a
# control event (the terminal's signal keys stay on), and the terminal throws away what was typed
# but not yet read; so each key is sent once the one before it has shown.
keys_run() {
  local side=$1 name=$2
  local folder="$work/$name"
  mkdir -p "$folder"
  if [ "$side" = wine ]; then
    cp "$windows_bin/JT65CODE.EXE" "$folder/"
    give_to_wine "$folder"
    start "$name" "$folder" "$here/run-under-wine.sh" "$prefix" "$windows_bin/QUORVEL.EXE"
  else
    cp "$linux_bin/JT65CODE.EXE" "$folder/"
    start "$name" "$folder" "$linux_bin/quorvel"
  fi
  wait_for "$name" '^Message' || return 1
  pane send-keys -t "$name" -l 'cq k1abX'
  wait_for "$name" '^Message  cq k1abX$' 10 || return 1
  pane send-keys -t "$name" BSpace
  wait_for "$name" '^Message  cq k1ab$' 10 || return 1
  pane send-keys -t "$name" C-c
  sleep 0.5
  pane send-keys -t "$name" Tab
  pane send-keys -t "$name" Escape
  sleep 0.5
  pane send-keys -t "$name" -l 'c fn42'
  wait_for "$name" '^Message  cq k1abc fn42$' 10 || return 1
  pane send-keys -t "$name" Enter
  wait_for "$name" '^Destination file' || return 1
  pane send-keys -t "$name" Enter
  wait_for "$name" '^QV-EXIT=' || return 1
  screen "$name" >"$work/$name.screen"
  pane kill-session -t "$name"
}
if keys_run wine keys-wine && keys_run linux keys-linux; then
  if grep -qx 'QV-EXIT=0' "$work/keys-wine.screen"; then
    pass "keys: Backspace erases, Ctrl+C, Tab and Esc change nothing under Wine"
  else
    fail "keys: the run under Wine did not end well: $(grep QV-EXIT "$work/keys-wine.screen")"
  fi
  diff -q "$work/keys-wine.screen" "$work/keys-linux.screen" >/dev/null ||
    fail "keys: the screens differ: $(diff "$work/keys-wine.screen" "$work/keys-linux.screen")"
  if cmp -s "$work/keys-wine/JT65SYMB.INC" "$work/typed-linux/JT65SYMB.INC"; then
    pass "keys: the include file is the typed run's"
  else
    fail "keys: the include file differs from the typed run's"
  fi
else
  fail "keys: the dialogue did not finish"
fi

# 6. Keys typed before the prompt (even before Wine has started) begin the line. The terminal
# echoes such early keys itself, once, before Wine takes it over; only the line read counts here.
folder="$work/ahead-wine"
mkdir -p "$folder"
cp "$windows_bin/JT65CODE.EXE" "$folder/"
give_to_wine "$folder"
start ahead-wine "$folder" "$here/run-under-wine.sh" "$prefix" "$windows_bin/QUORVEL.EXE"
pane send-keys -t ahead-wine -l 'cq'
if wait_for ahead-wine '^Message  cq$' && pane send-keys -t ahead-wine -l ' k1abc fn42' &&
  wait_for ahead-wine '^Message  cq k1abc fn42$' 10; then
  pane send-keys -t ahead-wine Enter
  wait_for ahead-wine '^Destination file' && pane send-keys -t ahead-wine Enter
  if wait_for ahead-wine '^QV-EXIT=0$' &&
    cmp -s "$folder/JT65SYMB.INC" "$work/typed-linux/JT65SYMB.INC"; then
    pass "ahead: keys typed before the prompt begin the line under Wine"
  else
    fail "ahead: the run with keys typed ahead went wrong"
  fi
else
  fail "ahead: keys typed ahead did not begin the line"
fi
pane kill-session -t ahead-wine

# 7. Standard output sent to a file: the dialogue still shows on the console (through standard
# error), and the file receives nothing.
stdout_to="$work/stdout-wine.txt"
dialogue wine stdout-wine "cq k1abc fn42" "" || fail "stdout: the dialogue under Wine did not finish"
stdout_to=
if [ -f "$work/stdout-wine.screen" ]; then
  if grep -qx 'Symbols written to JT65SYMB.INC' "$work/stdout-wine.screen" &&
    [ ! -s "$work/stdout-wine.txt" ] &&
    cmp -s "$work/stdout-wine/JT65SYMB.INC" "$work/typed-linux/JT65SYMB.INC"; then
    pass "stdout: with standard output in a file the dialogue shows on the console"
  else
    fail "stdout: the dialogue with standard output in a file went wrong"
  fi
fi

# 8. No encoder: the complaint shows in light red, the line after it in the normal colour.
folder="$work/missing"
mkdir -p "$folder"
give_to_wine "$folder"
start missing "$folder" "$here/run-under-wine.sh" "$prefix" "$windows_bin/QUORVEL.EXE"
if wait_for missing '^QV-EXIT='; then
  coloured=$(pane capture-pane -p -e -t missing)
  red=$(printf '%s\n' "$coloured" | grep 'JT65CODE.EXE is not present')
  next=$(printf '%s\n' "$coloured" | grep 'Visit the WSJT Website')
  # Light red is the intense red of the terminal: SGR 91 (or bold red).
  if printf '%s' "$red" | grep -Eq $'\e\\[(91|1;31|31;1)m'; then
    pass "missing: the encoder-missing line is light red under Wine"
  else
    fail "missing: the encoder-missing line is not light red: $(printf '%s' "$red" | od -c | head -3)"
  fi
  if printf '%s' "$next" | grep -Eq $'\e\\[(91|1;31|31;1)m' || ! printf '%s' "$next" | grep -q $'\e\\['; then
    fail "missing: the line after it does not go back to the normal colour"
  else
    pass "missing: the next line is back in the normal colour"
  fi
else
  fail "missing: the run without an encoder did not end"
fi

if [ "$failures" -ne 0 ]; then
  echo "== $failures check(s) failed; screens and files were in $work"
  exit 1
fi
echo "== all Wine console checks passed"
