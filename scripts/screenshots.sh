#!/usr/bin/env bash
# Takes the README's screenshot of the setup window, on the current X display,
# inside Wine's virtual desktop (which draws the title bar).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows-x64"
: "${DISPLAY:?needs an X display (scripts/test.sh provides one)}"

"$root/scripts/demo-folder.sh" >/dev/null
export WINEPREFIX=$("$root/tests/wine/wine-run.sh" "$build" --prefix)
/usr/lib/wine/wineserver -k 2>/dev/null || true

shot() {  # NAME WIDTHxHEIGHT SECONDS [KEYS]
  "$root/tests/wine/wine-run.sh" "$build" explorer "/desktop=Selvane,$2" 'C:\selvane-demo\selvane-init.exe' &
  sleep "$3"
  if [ -n "${4:-}" ]; then
    xdotool mousemove 5 5 key --clearmodifiers "$4"
    sleep 3
  fi
  import -window root -crop "$2+0+0" +repage -strip -define png:exclude-chunks=date,time "$root/docs/$1.png"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  wait || true
}
shot setup-window 520x160 8
shot folder-dialog 640x480 8 alt+r
echo "screenshots: docs/setup-window.png docs/folder-dialog.png"
