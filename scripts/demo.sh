#!/usr/bin/env bash
# Builds the program and runs it under Wine on the built-in demo product
# folder, on your X display. Without a display it runs under Xvfb and saves
# a screenshot instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows-x64"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" windows-x64
folder=$("$root/scripts/demo-folder.sh")
echo "Demo product folder: $folder (C:\\selvane-demo in Wine)"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the setup tool on $DISPLAY; press 完了 to complete the setup."
  "$root/tests/wine/wine-run.sh" "$build" 'C:\selvane-demo\selvane-init.exe'
  echo "The program has ended. What the demo folder holds now:"
  ls -l "$folder" "$folder/service"
  exit 0
fi

echo "No X display is set (DISPLAY is empty): running under Xvfb and taking a screenshot."
echo "To see the window itself, run this from a desktop session, or with 'ssh -X'."
. "$root/scripts/xvfb.sh"
start_private_xvfb
trap 'WINEPREFIX="$build/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null; kill $XVFB_PID 2>/dev/null' EXIT
"$root/tests/wine/wine-run.sh" "$build" explorer /desktop=Selvane,640x240 'C:\selvane-demo\selvane-init.exe' &
sleep 8
import -window root -crop 640x240+0+0 +repage "$root/build/demo-screenshot.png"
echo "Screenshot of the running demo: $root/build/demo-screenshot.png"
