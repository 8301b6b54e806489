#!/usr/bin/env bash
# Builds the program a second time, from nothing, in another folder, and
# checks that it is the same file, byte for byte.
# Usage: check-reproducible.sh SOURCE_DIR TOOLCHAIN_FILE PROGRAM
set -euo pipefail
source=$1 toolchain=$2 program=$3
again="$(dirname "$(dirname "$program")")-again"
rm -rf "$again"
cmake -S "$source" -B "$again" -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$again" --target selvane-init -j "$(nproc)" >/dev/null
first=$(sha256sum < "$program")
second=$(sha256sum < "$again/bin/selvane-init.exe")
echo "first build:  $first"
echo "second build: $second"
rm -rf "$again"
[ "$first" = "$second" ]
