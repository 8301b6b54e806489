#!/usr/bin/env bash
# Runs one Windows program under wine64 in the build's own prefix, with the
# Japanese locale and font, the Access driver name mapped to mdbtools, and an
# X display (its own Xvfb when none is set).
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGUMENTS...]
set -euo pipefail

build=$(cd "$1" && pwd)
shift
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export ODBCSYSINI="$build/odbc"
# mdbtools looks a database name up under MDBPATH when it cannot open it; the
# product folders the tests use get links named by their Windows paths.
export MDBPATH="$build/mdbpath"

own_display=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 150); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    own_display=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi
finish() {
  if [ -n "$own_display" ]; then
    "$wineserver" -k 2>/dev/null || true
    kill "$own_display" 2>/dev/null || true
  fi
}
trap finish EXIT

(
  flock 9
  if [ ! -f "$WINEPREFIX/.selvane-ready" ]; then
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f >/dev/null 2>&1
    # A crashing test program ends; no debugger dialog waits for a click.
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$wineserver" -w
    touch "$WINEPREFIX/.selvane-ready"
  fi
  mkdir -p "$MDBPATH"
  for n in $(seq 1 40); do
    ln -sfn "$WINEPREFIX/drive_c/selvane-tests/p$n/ORNA.mdb" "$MDBPATH/C:\\selvane-tests\\p$n\\ORNA.mdb"
  done
) 9>"$build/wineprefix.lock"

set +e
"$wine" "$@"
status=$?
exit $status
