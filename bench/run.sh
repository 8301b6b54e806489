#!/usr/bin/env bash
# Builds and runs the benchmarks and prints ratios against minimal programs
# doing the same job: start-up and peak memory under Wine, a whole Complete
# run under Wine (and one in a product tree of 5,000 entries more, for the
# rights check), the server-type check natively, and the release's size.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(/usr/lib/wine/wine64 --version)"

echo "-- native build (build/native)"
ODBCSYSINI="$root/build/native/odbc" "$root/build/native/bench/odbc-bench" "$root/tests/data/type2.mdb" 2>/dev/null

x64="$root/build/windows-x64"
export SELVANE_PROGRAM="$x64/bin/selvane-init.exe"
export BENCH_MINIMAL_WINDOW="$x64/bench/minimal-window.exe"
export BENCH_MINIMAL_SETUP="$x64/bench/minimal-setup.exe"
export BENCH_INSTALL_STAND_IN="$x64/bin/stand-ins/install.exe"
echo "-- 64-bit Windows build (build/windows-x64) under wine64"
# Under a private X server, like the tests.
(unset DISPLAY; "$root/tests/wine/wine-run.sh" "$x64" "$x64/bench/bench-driver.exe") 2>/dev/null

echo "-- i686 release (build/windows-x86)"
release="$root/build/windows-x86/bin/selvane-init.exe"
size=$(stat -c %s "$release")
imports=$(i686-w64-mingw32-objdump -p "$release" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
printf '%-44s %d bytes (%d KiB, aim 256 KiB); imports: %s\n' "release program size" "$size" $((size / 1024)) "$imports"
