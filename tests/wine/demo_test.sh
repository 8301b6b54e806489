#!/usr/bin/env bash
# The README's demo, as a newcomer without a display runs it: from a fresh
# Wine prefix it completes a setup, saves two pictures that show a window,
# says what the run did, and leaves nothing running.
# Usage: demo_test.sh BUILD_DIR (the x86_64 build, already built)
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$build/demo-test"
rm -rf "$work"
mkdir -p "$work"
# Not a lane of the Windows tests: a prefix and an X server of its own.
unset DISPLAY CTEST_RESOURCE_GROUP_COUNT CTEST_RESOURCE_GROUP_0 CTEST_RESOURCE_GROUP_0_LANES
export SELVANE_WINEPREFIX="$work/wineprefix" SELVANE_DEMO_PICTURES="$work/pictures" SELVANE_DEMO_NO_BUILD=1

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

status=0
"$root/scripts/demo.sh" > "$work/report.txt" 2>&1 || status=$?
cat "$work/report.txt"
[ "$status" = 0 ] || fail "demo.sh ended with $status"

expect() {  # TEXT: a line of the report that must be there
  grep -qxF -- "$1" "$work/report.txt" || fail "the report lacks: $1"
}
expect 'The program says: 初期設定が完了しました。'
expect '   LOGIN=C:\selvane-demo'
expect '   BACKUP=C:\selvane-demo\BACKUP'
expect '   OPTIMIZE=0'
expect '   BASIC=C:\selvane-demo'
expect '   CGI=C:\selvane-demo-keva'
expect '-- C:\selvane-demo\yes.txt (the answer file), bytes: 79 0d 0a'
expect '   acl.bat ran in C:\selvane-demo'
expect '   C:\selvane-demo\service'
expect '   show=0'
expect 'exit 0: set up (all twelve settings hold what a run writes)'
# The log's lines follow, each a date first: no byte-order mark before the first.
sed -n '/^exit 0: set up/{n;p;q}' "$work/report.txt" | grep -q '^   20[0-9][0-9]-' ||
  fail "the log's first line does not start with its date"

# A picture that shows a window has many colours; a black or blank one has one.
for picture in demo-window demo-message; do
  file="$work/pictures/$picture.png"
  if [ ! -f "$file" ]; then
    fail "no picture $file"
    continue
  fi
  colours=$(convert "$file" -format '%k' info:)
  size=$(convert "$file" -format '%wx%h' info:)
  echo "$picture.png: $size, $colours colours"
  [ "$colours" -ge 8 ] || fail "$picture.png is blank ($colours colours)"
done

# Nothing left running: the demo's X server and the prefix's wineserver are gone.
display=$(sed -n 's/^Private X display: :\([0-9]*\)$/\1/p' "$work/report.txt")
[ -n "$display" ] || fail "the report does not name its X display"
for _ in $(seq 50); do [ -n "$display" ] && [ -e "/tmp/.X11-unix/X$display" ] || break; sleep 0.1; done
[ -z "$display" ] || [ ! -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb :$display still runs"
demo_processes() {
  local process
  for process in /proc/[0-9]*; do
    if tr '\0' '\n' < "$process/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$work/wineprefix"; then
      echo "${process#/proc/}"
    fi
  done
}
left=""
for _ in $(seq 50); do  # a process that was told to end may take a moment
  left=$(demo_processes | xargs)
  [ -n "$left" ] || break
  sleep 0.1
done
[ -z "$left" ] || fail "the demo's Wine processes still run: $left"

echo "demo test: $failures failures"
[ "$failures" = 0 ]
