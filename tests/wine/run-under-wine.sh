#!/bin/sh
# Runs a Windows program under Wine in a throw-away prefix: run-under-wine.sh PREFIX PROGRAM ARGS...
# The prefix is made on first use (Wine's first start takes half a minute or more); a lock keeps
# test programs started side by side from making it twice. Wine's own messages are silenced, so
# what the program prints is all that shows; its exit code is the program's.
set -eu
if [ $# -lt 2 ]; then
  echo "usage: run-under-wine.sh PREFIX PROGRAM [ARGS...]" >&2
  exit 2
fi
prefix=$1
shift

# Debian's wine64 package installs the loader outside PATH; the wine wrapper warns about a
# missing wine32 on every run, so the 64-bit loader is called directly where it can be found.
wine=
for candidate in wine64 /usr/lib/wine/wine64 /usr/lib64/wine/wine64 wine; do
  if command -v "$candidate" >/dev/null 2>&1; then
    wine=$(command -v "$candidate")
    break
  fi
done
if [ -z "$wine" ]; then
  echo "wine64 is not installed (package wine64)" >&2
  exit 127
fi

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Wine desktop integration or Mono/Gecko installers in a prefix made for tests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
# The ANSI code page the programs are written for is Windows-1252; Wine takes it from the locale.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8

ready="$prefix/.made-for-tests"
if [ ! -f "$ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      WINELOADER=$wine "$wine" wineboot --init >/dev/null 2>&1 || true
      touch "$ready"
    fi
  ) 9>"$prefix.lock"
fi

# Debian starts Wine's server with no persistence, so every program would pay for a cold start of
# the server and its services (about two seconds). Started here first, the server stays a while
# after the last program and a test suite run program by program reuses it; it ends by itself.
for server in wineserver64 /usr/lib/wine/wineserver64 /usr/lib64/wine/wineserver64 wineserver; do
  if command -v "$server" >/dev/null 2>&1; then
    "$(command -v "$server")" -p20 >/dev/null 2>&1 || true
    break
  fi
done

exec "$wine" "$@"
