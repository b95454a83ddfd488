# shellcheck shell=bash
# Sourced by the bash test scripts that drive programs in tmux panes, under Wine or natively.
# checks_begin NAME makes the scratch folder $work and a tmux server of this run's own; fail and
# pass count and print the checks; the rest drives the panes. The screens and files of a failed
# run are kept in $work for a look.
checks_begin() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  chmod 755 "$work"  # Wine may run as another user (see give_to_wine)
  socket="$1-$$"
  failures=0
  trap checks_cleanup EXIT
}
checks_cleanup() {
  tmux -L "$socket" kill-server >/dev/null 2>&1
  [ "$failures" -ne 0 ] || rm -rf "$work"
}

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok:   $*"; }

# The Wine side runs as "nobody" when we are root (see run-under-wine.sh): its folders must be its.
give_to_wine() {
  if [ "$(id -u)" = 0 ] && [ "${QUORVEL_WINE_KEEP_ROOT:-0}" != 1 ]; then chown -R nobody "$1"; fi
}

pane() { tmux -L "$socket" "$@"; }

# has_entry FOLDER NAME: the folder holds an entry of that name, in any letter case.
has_entry() { [ -n "$(find "$1" -maxdepth 1 -iname "$2" -print -quit)" ]; }

# start NAME FOLDER COMMAND...: runs the command in a new 80x24 pane; its exit code shows last.
# With stdout_to set, the command's standard output goes to that file.
stdout_to=
start() {
  local name=$1 folder=$2
  shift 2
  local command
  command=$(printf '%q ' "$@")
  [ -z "$stdout_to" ] || command="$command >$(printf '%q' "$stdout_to")"
  pane new-session -d -s "$name" -x 80 -y 24 \
    "cd $(printf '%q' "$folder") && env -u COMSPEC -u comspec $command; echo QV-EXIT=\$?; sleep 600"
}

screen() { pane capture-pane -p -t "$1"; }

# wait_for NAME PATTERN [SECONDS]: until a row of the screen matches the extended regexp.
wait_for() {
  local name=$1 pattern=$2 limit=${3:-60}
  local deadline=$(($(date +%s) + limit))
  local shown
  while [ "$(date +%s)" -le "$deadline" ]; do
    shown=$(screen "$name")
    if printf '%s\n' "$shown" | grep -Eq -- "$pattern"; then return 0; fi
    if printf '%s\n' "$shown" | grep -q '^QV-EXIT='; then break; fi  # ended before it came
    sleep 0.2
  done
  echo "-- screen of $name while waiting for /$pattern/:"
  screen "$name" | sed 's/^/   |/'
  return 1
}

type_line() {
  pane send-keys -t "$1" -l -- "$2"
  pane send-keys -t "$1" Enter
}
