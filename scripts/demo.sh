#!/usr/bin/env bash
# Builds the program and runs it under Wine on the built-in demo product
# folder. With an X display it shows the window and you do the setup;
# without one it does the setup itself on its own Xvfb: it types the demo's
# KEVA folder into the box, presses 完了, saves pictures of the filled-in
# window and of the completion message, and prints what the run did.
# Whatever it started (Xvfb, the prefix's wineserver and programs) is
# stopped when it ends, also on Ctrl+C.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows-x64"
wine_run="$root/tests/wine/wine-run.sh"
pictures="${SELVANE_DEMO_PICTURES:-$root/build/demo}"
keva='C:\selvane-demo-keva'

if [ -z "${SELVANE_DEMO_NO_BUILD:-}" ]; then  # set by the test command, which has built it
  "$root/scripts/install-deps.sh"
  "$root/scripts/build.sh" windows-x64
fi

. "$root/scripts/xvfb.sh"
XVFB_PID=""
headless=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  echo "No X display is set (DISPLAY is empty): the demo does the setup itself on a private Xvfb."
  echo "To do it yourself, run this from a desktop session, or with 'ssh -X'."
  start_private_xvfb
  echo "Private X display: $DISPLAY"
fi
prefix=$("$wine_run" "$build" --prefix)
stop_all() {
  # Ended, and waited for: nothing of the demo's is left once it has returned.
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
trap stop_all EXIT
trap 'exit 130' INT TERM

folder=$("$root/scripts/demo-folder.sh")
keva_unix="$prefix/drive_c/selvane-demo-keva"
echo "Demo product folder: $folder (C:\\selvane-demo in Wine)"
echo "KEVA folder to name: $keva ($keva_unix)"

# A server of its own each time: no record of an earlier demo's run (one
# cut off by Ctrl+C would otherwise be told of before the window opens).
"$wine_run" "$build" reg delete 'HKLM\SOFTWARE\Selvane\InitialSetup' /reg:32 /f >/dev/null 2>&1 || true

status=0
if [ -z "$headless" ]; then
  echo "Starting the setup tool on $DISPLAY: type or pick $keva, then press 完了."
  "$wine_run" "$build" 'C:\selvane-demo\selvane-init.exe' || status=$?
else
  rm -rf "$pictures"
  mkdir -p "$pictures"
  # Wine's virtual desktop draws the title bars (a bare Xvfb has no window manager).
  "$wine_run" "$build" explorer /desktop=Selvane,640x400 "$build/bin/stand-ins/demo-driver.exe" \
    'C:\selvane-demo\selvane-init.exe' "$keva" "Z:${pictures//\//\\}" || status=$?
  for picture in demo-window demo-message; do
    [ -f "$pictures/$picture.bmp" ] || continue
    convert "$pictures/$picture.bmp" "$pictures/$picture.png" && rm "$pictures/$picture.bmp"
    echo "Picture: $pictures/$picture.png"
  done
fi
echo "The program has ended with exit code $status."

echo
echo "== What the run did"
show() {  # LABEL FILE
  if [ -f "$2" ]; then
    echo "-- $1"
    iconv -f CP932 -t UTF-8 "$2" | tr -d '\r' | sed 's/^/   /'
  else
    echo "-- $1: not there"
  fi
}
show "$keva\\orna_remote.ini" "$keva_unix/orna_remote.ini"
echo "-- C:\\windows\\win.ini, section [ORNA]"
sed -n '/^\[ORNA\]/I,/^\[/p' "$prefix/drive_c/windows/win.ini" | tr -d '\r' | grep -v '^\[[^O]' | sed 's/^/   /' || true
if [ -f "$folder/yes.txt" ]; then
  echo "-- C:\\selvane-demo\\yes.txt (the answer file), bytes: $(od -An -tx1 "$folder/yes.txt" | xargs)"
else
  echo "-- C:\\selvane-demo\\yes.txt (the answer file): not there"
fi
show "acl.bat ran (its own record, acl-ran.txt)" "$folder/acl-ran.txt"
if [ -f "$folder/service/install-ran.txt" ]; then
  echo "-- service\\install.exe ran (its own record: current folder, window shown as; show=0 is hidden)"
  iconv -f UTF-16LE -t UTF-8 "$folder/service/install-ran.txt" | tr -d '\r' | sed 's/^/   /'
else
  echo "-- service\\install.exe: did not run"
fi

echo
echo "== Is this server set up? (selvane-init.exe /VERIFY /DIR=$keva)"
verify=0
"$wine_run" "$build" 'C:\selvane-demo\selvane-init.exe' /VERIFY "/DIR=$keva" \
  '/LOG=C:\selvane-demo\verify.log' >/dev/null 2>&1 || verify=$?
case $verify in
  0) echo "exit 0: set up (all twelve settings hold what a run writes)" ;;
  1) echo "exit 1: not set up" ;;
  *) echo "exit $verify: could not tell" ;;
esac
# The log starts with a UTF-8 mark, which a terminal would print as a stray character.
[ -f "$folder/verify.log" ] && iconv -f UTF-8 -t UTF-8 -c "$folder/verify.log" | tr -d '\r' |
  sed -e '1s/^\xef\xbb\xbf//' -e 's/^/   /'
exit "$status"
