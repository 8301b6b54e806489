#!/usr/bin/env bash
# Builds everything and runs every test: the native tests (with the sample
# databases through unixODBC and mdbtools), the Windows tests under wine64 on
# a private Xvfb with the Japanese locale, the release checks, and last the
# 32-bit release itself under Wine's 32-bit half and qemu.
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

# The tests' Wine prefix, made once (about two minutes: its 32-bit half runs
# under emulation); every Windows test and the release stage use it.
echo "== Wine prefix"
"$root/tests/wine/wine-run.sh" "$root/build/windows-x64" cmd /c exit 0

status=0
for build in native windows-x64 windows-x86; do
  echo "== $build"
  (cd "$root/build/$build" && ctest --output-on-failure -LE release-emulated) || status=1
done
# What we ship, run: the i686 program under Wine's 32-bit half and qemu.
echo "== release (build/windows-x86/bin/selvane-init.exe under emulation)"
(cd "$root/build/windows-x64" && ctest --output-on-failure -L release-emulated) || status=1

"$root/scripts/screenshots.sh" || status=1
exit $status
