#!/bin/sh
# Runs a Windows program under Wine in a throw-away prefix: run-under-wine.sh PREFIX PROGRAM ARGS...
# The prefix is made on first use (Wine's first start takes half a minute or more); a lock keeps
# test programs started side by side from making it twice. Wine's own messages are silenced, so
# what the program prints is all that shows; its exit code is the program's.
#
# Started as root, Wine runs as the unprivileged user "nobody" instead: root passes every Unix
# permission check, and Wine then opens read-only files for writing, which Windows refuses. Set
# QUORVEL_WINE_KEEP_ROOT=1 to stay root (the read-only checks of the tests then fail).
set -eu
if [ $# -lt 2 ]; then
  echo "usage: run-under-wine.sh PREFIX PROGRAM [ARGS...]" >&2
  exit 2
fi
prefix=$1
shift

find_first() {
  for candidate in "$@"; do
    if command -v "$candidate" >/dev/null 2>&1; then
      command -v "$candidate"
      return 0
    fi
  done
  return 1
}

# Debian's wine64 package installs the loader outside PATH; its wine wrapper warns about a missing
# wine32 on every run, so the 64-bit loader is called directly where it can be found.
if ! wine=$(find_first wine64 /usr/lib/wine/wine64 /usr/lib64/wine/wine64 wine); then
  echo "wine64 is not installed (package wine64)" >&2
  exit 127
fi
server=$(find_first wineserver64 /usr/lib/wine/wineserver64 /usr/lib64/wine/wineserver64 \
  wineserver) || server=

as_user=
if [ "$(id -u)" = 0 ] && [ "${QUORVEL_WINE_KEEP_ROOT:-0}" != 1 ] &&
  command -v setpriv >/dev/null 2>&1 && id nobody >/dev/null 2>&1; then
  as_user="setpriv --reuid=$(id -u nobody) --regid=$(id -g nobody) --clear-groups"
  mkdir -p "$prefix"
  # Wine insists that its prefix belongs to the user running it. A prefix made by root also
  # points (Debian's "wineserver" link) at root's private server folder, which must go.
  if [ "$(stat -c %u "$prefix")" != "$(id -u nobody)" ]; then
    rm -f "$prefix/wineserver"
    chown -R nobody "$prefix"
  fi
  export HOME="$prefix"
else
  mkdir -p "$prefix"
fi

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEARCH=win64
export WINELOADER="$wine"
# No Wine desktop integration or Mono/Gecko installers in a prefix made for tests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
# The ANSI code page the programs are written for is Windows-1252; Wine takes it from the locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

ready="$prefix/.made-for-tests"
if [ ! -f "$ready" ]; then
  (
    flock 9
    if [ ! -f "$ready" ]; then
      $as_user "$wine" wineboot --init >/dev/null 2>&1 9>&- || true
      touch "$ready"
    fi
  ) 9>"$prefix.lock"
fi

# Debian starts Wine's server with no persistence, so every program would pay for a cold start of
# the server and its services (about two seconds). Started here first, the server stays a while
# after the last program and a test suite run program by program reuses it; it ends by itself.
# Wine's desktop process (explorer.exe), started by the first program that loads user32, inherits
# that program's standard handles and lives as long as the server: ctest would wait for it on the
# test's output pipe. So a fresh server gets its desktop here, from a run with no such handles.
if [ -n "$server" ]; then
  (
    flock 9
    # Neither may keep the lock's descriptor: the server and the desktop outlive this script.
    if $as_user "$server" -p20 >/dev/null 2>&1 9>&-; then
      $as_user "$wine" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 9>&- ||
        true
    fi
  ) 9>"$prefix.lock"
fi

exec $as_user "$wine" "$@"
