#!/usr/bin/env bash
# Lays out the built-in demo product folder C:\selvane-demo in the x86_64
# build's Wine prefix: the program, an ORNA.mdb of server type 2, a harmless
# acl.bat and a stand-in service\install.exe that records that it ran.
# Prints the folder's Linux path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows-x64"
folder="$build/wineprefix/drive_c/selvane-demo"

rm -rf "$folder"
mkdir -p "$folder/service"
cp "$build/bin/selvane-init.exe" "$folder/"
cp "$root/demo/ORNA.mdb" "$root/demo/acl.bat" "$folder/"
cp "$build/bin/stand-ins/install.exe" "$folder/service/"
chmod -R u+w "$folder"
# mdbtools finds the database by its Windows path (see tests/wine/wine-run.sh).
mkdir -p "$build/mdbpath"
ln -sfn "$folder/ORNA.mdb" "$build/mdbpath/C:\\selvane-demo\\ORNA.mdb"
echo "$folder"
