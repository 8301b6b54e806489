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
. "$root/scripts/xvfb.sh"
start_private_xvfb
cleanup() {
  WINEPREFIX="$root/build/windows-x64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

status=0
for build in native windows-x64 windows-x86; do
  echo "== $build"
  (cd "$root/build/$build" && ctest --output-on-failure) || status=1
done

"$root/scripts/screenshots.sh" || status=1
exit $status
