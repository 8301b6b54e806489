#!/usr/bin/env bash
# Builds everything and runs every test: the native tests (with the sample
# databases through unixODBC and mdbtools), the Windows tests under wine64
# with the Japanese locale, the release checks, the headless demo, and the
# 32-bit release itself under Wine's 32-bit half and qemu.
#
# The Windows tests run side by side in lanes (SELVANE_LANES, 3 unless set):
# each lane has its own X server and its own Wine prefix, so that the
# program's single-instance check and the tests' window searches never meet
# a neighbour's. ctest hands each test a lane (its resource "lanes").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lanes=${SELVANE_LANES:-3}
x64="$root/build/windows-x64"
wine_run="$root/tests/wine/wine-run.sh"

"$root/scripts/install-deps.sh"

. "$root/scripts/xvfb.sh"
xvfb_pids=()
displays=()
cleanup() {
  local prefix
  for prefix in "$x64"/wineprefix "$x64"/lanes/*/wineprefix; do
    [ -d "$prefix" ] || continue
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
  done
  if [ ${#xvfb_pids[@]} -gt 0 ]; then
    kill "${xvfb_pids[@]}" 2>/dev/null || true
    wait "${xvfb_pids[@]}" 2>/dev/null || true
  fi
  [ -z "${prefix_pid:-}" ] || kill "$prefix_pid" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# X servers of our own, whatever display the caller has: the tests need a
# known screen size, and windows must not pop up on a desktop.
for _ in $(seq "$lanes"); do
  start_private_xvfb
  xvfb_pids+=("$XVFB_PID")
  displays+=("$DISPLAY")
done
export DISPLAY="${displays[0]}" SELVANE_LANE_DISPLAYS="${displays[*]}"

# The tests' Wine prefix is made (about two minutes: its 32-bit half runs
# under emulation) while the programs build; each lane's is a copy of it.
mkdir -p "$x64"
echo "== Wine prefix (made while building)"
"$wine_run" "$x64" --prefix >/dev/null &
prefix_pid=$!
"$root/scripts/build.sh"
wait "$prefix_pid"
prefix_pid=""
spec="$x64/lanes/resources.json"
mkdir -p "$x64/lanes"
{
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"lanes": ['
  for lane in $(seq 0 $((lanes - 1))); do
    [ "$lane" = 0 ] || printf ', '
    printf '{"id": "%s", "slots": 1}' "$lane"
    CTEST_RESOURCE_GROUP_0_LANES="id:$lane,slots:1" "$wine_run" "$x64" --prefix >/dev/null
  done
  printf ']}]}\n'
} > "$spec"

status=0
echo "== native"
(cd "$root/build/native" && ctest -j "$(nproc)" --output-on-failure) || status=1
# The i686 build's checks run natively (one rebuilds the release from
# nothing), beside the Windows tests; their output follows theirs.
x86_log="$root/build/windows-x86/ctest.log"
(cd "$root/build/windows-x86" && ctest --output-on-failure > "$x86_log" 2>&1) &
x86_pid=$!
echo "== windows-x64 and the release under emulation ($lanes lanes)"
(cd "$x64" && ctest -j "$lanes" --resource-spec-file "$spec" --output-on-failure) || status=1
echo "== windows-x86"
wait "$x86_pid" || status=1
cat "$x86_log"
exit $status
