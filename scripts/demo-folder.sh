#!/usr/bin/env bash
# Lays out the built-in demo product folder C:\selvane-demo in the x86_64
# build's Wine prefix (made first, when it is not ready): the program, an
# ORNA.mdb of server type 2, a harmless acl.bat, a stand-in
# service\install.exe that records that it ran, and an empty KEVA folder
# C:\selvane-demo-keva. Prints the folder's Linux path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows-x64"
prefix=$("$root/tests/wine/wine-run.sh" "$build" --prefix)
folder="$prefix/drive_c/selvane-demo"

rm -rf "$folder" "$prefix/drive_c/selvane-demo-keva"
mkdir -p "$folder/service" "$prefix/drive_c/selvane-demo-keva"
cp "$build/bin/selvane-init.exe" "$folder/"
cp "$root/demo/ORNA.mdb" "$root/demo/acl.bat" "$folder/"
cp "$build/bin/stand-ins/install.exe" "$folder/service/"
chmod -R u+w "$folder"
# win.ini as a fresh server holds it: no [ORNA] section of an earlier demo.
win_ini="$prefix/drive_c/windows/win.ini"
if [ -f "$win_ini" ]; then
  sed -i '/^\[ORNA\]/I,/^\[/{/^\[ORNA\]/Id;/^\[/!d}' "$win_ini"
fi
echo "$folder"
