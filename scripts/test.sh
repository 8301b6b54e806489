#!/usr/bin/env bash
# Builds everything and runs every test: the native tests (with the sample
# databases through unixODBC and mdbtools), the Windows tests under wine64 on
# a private Xvfb with the Japanese locale, and the release checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

# One X server of our own for the whole run, whatever display the caller has:
# the tests need a known screen size, and windows must not pop up on a desktop.
display=""
for n in $(seq 50 99); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() {
  WINEPREFIX="$root/build/windows-x64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

status=0
for build in native windows-x64 windows-x86; do
  echo "== $build"
  (cd "$root/build/$build" && ctest --output-on-failure) || status=1
done

"$root/scripts/screenshots.sh" || status=1
exit $status
