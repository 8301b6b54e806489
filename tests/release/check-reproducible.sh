#!/usr/bin/env bash
# Builds the program a second time, from nothing, in another folder, and
# checks that it is the same file, byte for byte; and that the signature
# taken from the signed release, attached to this second build, gives the
# signed release byte for byte: anyone can check a signed file against a
# build of the sources.
# Usage: check-reproducible.sh SOURCE_DIR TOOLCHAIN_FILE PROGRAM SIGNED_PROGRAM SIGNER_CA
set -euo pipefail
source=$1 toolchain=$2 program=$3 signed=$4 ca=$5
again="$(dirname "$(dirname "$program")")-again"
rm -rf "$again"
cmake -S "$source" -B "$again" -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$again" --target selvane-init -j "$(nproc)" >/dev/null
first=$(sha256sum < "$program")
second=$(sha256sum < "$again/bin/selvane-init.exe")
echo "first build:  $first"
echo "second build: $second"
osslsigncode extract-signature -in "$signed" -out "$again/signature.der" >/dev/null
osslsigncode attach-signature -sigin "$again/signature.der" -CAfile "$ca" -in "$again/bin/selvane-init.exe" \
  -out "$again/signed.exe" >/dev/null
echo "signed release:                   $(sha256sum < "$signed")"
echo "its signature on the second build: $(sha256sum < "$again/signed.exe")"
cmp "$signed" "$again/signed.exe"
rm -rf "$again"
[ "$first" = "$second" ]
