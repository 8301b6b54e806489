#!/usr/bin/env bash
# Runs one Windows program under wine64 in one of the build's Wine prefixes,
# with the Japanese locale and font, the Access driver name mapped to
# mdbtools, and an X display (its own Xvfb when none is set).
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGUMENTS...]
#        wine-run.sh BUILD_DIR --prefix   (makes the prefix, prints its path)
#
# Which prefix: in a ctest lane (the resource "lanes" of scripts/test.sh) the
# lane's own prefix and X display, so that tests running side by side never
# meet; otherwise $SELVANE_WINEPREFIX, or the build's wineprefix. A prefix is
# taken as ready only once it was made to the end; a new one is copied from
# the build's ready prefix where there is one (seconds instead of minutes).
set -euo pipefail

build=$(cd "$1" && pwd)
shift
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
template="$build/wineprefix"
ready_mark=.selvane-ready-4

lane=""
if [ -n "${CTEST_RESOURCE_GROUP_0_LANES:-}" ]; then  # "id:N,slots:1"
  lane=${CTEST_RESOURCE_GROUP_0_LANES#id:}
  lane=${lane%%,*}
  read -r -a displays <<< "${SELVANE_LANE_DISPLAYS:-}"
  [ -n "${displays[$lane]:-}" ] && export DISPLAY="${displays[$lane]}"
  export WINEPREFIX="$build/lanes/$lane/wineprefix"
  export MDBPATH="$build/lanes/$lane/mdbpath"
else
  export WINEPREFIX="${SELVANE_WINEPREFIX:-$template}"
  export MDBPATH="$(dirname "$WINEPREFIX")/mdbpath"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export ODBCSYSINI="$build/odbc"
# Wine's 32-bit half runs under qemu, which without a reserved address space
# hands out addresses just below 2 GiB, where 32-bit Wine must map its shared
# user data: a 32-bit program would fail to start ("failed to map the shared
# user data"). Wine takes the low 2 GiB for Windows; its 32-bit Unix
# libraries need room above (with 2 GiB exactly nothing starts). qemu 7.2
# looks for free space in the reserved area page by page, so each further
# 64 MiB costs every 32-bit start seconds: 128 MiB above 2 GiB starts the
# release in about 8 seconds, 1 GiB above took 48.
export QEMU_RESERVED_VA=${QEMU_RESERVED_VA:-0x88000000}

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
trap 'exit 130' INT TERM

# Makes the prefix at $1 (its parent folder must exist) unless it is ready.
make_prefix() (
  local prefix=$1
  flock 9
  [ -f "$prefix/$ready_mark" ] && exit 0
  # Anything here was left halfway (or by an older layout): made again.
  WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix"
  if [ "$prefix" != "$template" ] && [ -f "$template/$ready_mark" ]; then
    cp -a "$template" "$prefix.new"
    mv "$prefix.new" "$prefix"
  else
    export WINEPREFIX="$prefix"
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
    if [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "wine-run.sh: the new Wine prefix has no 32-bit half (is wine32:i386 installed and qemu-i386 registered with binfmt_misc? scripts/install-deps.sh does both)" >&2
      exit 1
    fi
    # The title-bar buttons are letters of Marlett; this Wine does not load
    # the copy in its own data folder, and would draw them as "0 1 r".
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  fi
  touch "$prefix/$ready_mark"
) 9>"$1.lock"

mkdir -p "$(dirname "$WINEPREFIX")" "$MDBPATH"
[ "$WINEPREFIX" = "$template" ] || make_prefix "$template"
make_prefix "$WINEPREFIX"
# mdbtools looks a database name up under MDBPATH when it cannot open it; the
# product folders the tests and the demo use get links named by their
# Windows paths.
for n in $(seq 1 40); do
  ln -sfn "$WINEPREFIX/drive_c/selvane-tests/p$n/ORNA.mdb" "$MDBPATH/C:\\selvane-tests\\p$n\\ORNA.mdb"
done
ln -sfn "$WINEPREFIX/drive_c/selvane-demo/ORNA.mdb" "$MDBPATH/C:\\selvane-demo\\ORNA.mdb"

if [ "${1:-}" = --prefix ]; then
  echo "$WINEPREFIX"
  exit 0
fi
set +e
"$wine" "$@"
exit $?
