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
# Wine's 32-bit half runs under qemu, which without this hands out addresses
# just below 2 GiB, where 32-bit Wine must map its shared user data: a 32-bit
# program would fail to start ("failed to map the shared user data").
export QEMU_RESERVED_VA=0xc0000000

XVFB_PID=""
if [ -z "${DISPLAY:-}" ]; then
  . "$(dirname "$0")/../../scripts/xvfb.sh"
  start_private_xvfb
fi
finish() {
  if [ -n "$XVFB_PID" ]; then
    "$wineserver" -k 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
  fi
}
trap finish EXIT

(
  flock 9
  if [ ! -f "$WINEPREFIX/.selvane-ready-3" ]; then
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f >/dev/null 2>&1
    # A crashing test program just ends: no debugger starts (it would hold
    # the test's output open, and hangs under emulation) and no dialog waits
    # for a click. 32-bit programs read the key's 32-bit view.
    for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
               'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
      "$wine" reg add "$key" /v Debugger /d '' /f >/dev/null 2>&1
    done
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$wineserver" -w
    if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "wine-run.sh: the new Wine prefix has no 32-bit half (is wine32:i386 installed and qemu-i386 registered with binfmt_misc? scripts/install-deps.sh does both)" >&2
      exit 1
    fi
    touch "$WINEPREFIX/.selvane-ready-3"
  fi
  # The title-bar buttons are letters of Marlett; this Wine does not load the
  # copy in its own data folder, and would draw them as "0 1 r".
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  mkdir -p "$MDBPATH"
  for n in $(seq 1 40); do
    ln -sfn "$WINEPREFIX/drive_c/selvane-tests/p$n/ORNA.mdb" "$MDBPATH/C:\\selvane-tests\\p$n\\ORNA.mdb"
  done
) 9>"$build/wineprefix.lock"

set +e
"$wine" "$@"
status=$?
exit $status
