#!/usr/bin/env bash
# The release signed by scripts/sign.sh with a throwaway publisher: it
# verifies against that publisher's CA, one changed byte breaks it, removing
# the signature gives back the file as built, each refusal says why and
# writes nothing, and a key in a token (SoftHSM through PKCS#11) signs with a
# time stamp from a local RFC 3161 service.
# Usage: check-signing.sh SIGNER_FOLDER PROGRAM SIGNED_PROGRAM
set -uo pipefail
signer=$1 program=$2 signed=$3
here=$(cd "$(dirname "$0")" && pwd)
sign=$here/../../scripts/sign.sh
# Whatever the caller's own signing set-up, the tests use theirs.
unset SELVANE_SIGN_PKCS12 SELVANE_SIGN_PASSWORD SELVANE_SIGN_CERT SELVANE_SIGN_PKCS11_MODULE SELVANE_SIGN_PKCS11_KEY \
  SELVANE_SIGN_PIN SELVANE_SIGN_TIMESTAMP_URL
work=$(mktemp -d)
service=""
trap '[ -z "$service" ] || kill "$service"; rm -rf "$work"' EXIT
status=0
result() {  # PASSED DESCRIPTION
  if [ "$1" = 0 ]; then echo "ok: $2"; else echo "FAILED: $2"; cat "$work/out"; status=1; fi
}
verifies() { osslsigncode verify -CAfile "$signer/root.pem" -TSA-CAfile "$signer/root.pem" -in "$1" > "$work/out" 2>&1; }

verifies "$signed"; result $? "the signed release verifies against its publisher's CA"
(cd "$(dirname "$signed")" && sha256sum -c "$(basename "$signed").sha256" > "$work/out" 2>&1); result $? "its .sha256 matches"
cp "$signed" "$work/changed.exe"
printf '\377' | dd of="$work/changed.exe" bs=1 seek=4096 conv=notrunc 2> /dev/null
! verifies "$work/changed.exe"; result $? "one changed byte fails verification"
osslsigncode remove-signature -in "$signed" -out "$work/unsigned.exe" > "$work/out" 2>&1 &&
  cmp "$program" "$work/unsigned.exe" >> "$work/out" 2>&1
result $? "removing the signature gives back the file as built"

# SAYS [VARIABLE=VALUE...] SIGN INPUT OUTPUT: refused with a message that
# says so; no output, and the input as it was.
refused() {
  local says=$1
  shift
  local input=${*: -2:1}
  local before
  before=$(sha256sum < "$input")
  rm -f "$work/out.exe" "$work/out.exe.sha256"
  ! env "$@" > /dev/null 2> "$work/out" && grep -q "$says" "$work/out" && [ ! -e "$work/out.exe" ] &&
    [ ! -e "$work/out.exe.sha256" ] && [ "$(sha256sum < "$input")" = "$before" ]
  result $? "refused: $(cat "$work/out")"
}
cp "$program" "$work/program.exe"
key=SELVANE_SIGN_PKCS12=$signer/signer.p12
refused "no key" "$sign" "$work/program.exe" "$work/out.exe"
refused "wrong password" "$key" SELVANE_SIGN_PASSWORD=wrong "$sign" "$work/program.exe" "$work/out.exe"
refused "expired" SELVANE_SIGN_PKCS12="$signer/expired.p12" SELVANE_SIGN_PASSWORD=test "$sign" "$work/program.exe" "$work/out.exe"
refused "not valid before" SELVANE_SIGN_PKCS12="$signer/future.p12" SELVANE_SIGN_PASSWORD=test "$sign" "$work/program.exe" "$work/out.exe"
refused "not for code signing" SELVANE_SIGN_PKCS12="$signer/server.p12" SELVANE_SIGN_PASSWORD=test "$sign" "$work/program.exe" "$work/out.exe"
cp "$signer/root.pem" "$work/not-a-program.exe"
refused "not a Windows program" "$key" SELVANE_SIGN_PASSWORD=test "$sign" "$work/not-a-program.exe" "$work/out.exe"
refused "the output is the input" "$key" SELVANE_SIGN_PASSWORD=test "$sign" "$work/program.exe" "$work/program.exe"

# The key in a token, the time stamp from a service.
export SOFTHSM2_CONF=$work/softhsm2.conf
mkdir "$work/tokens"
echo "directories.tokendir = $work/tokens" > "$SOFTHSM2_CONF"
module=/usr/lib/softhsm/libsofthsm2.so
softhsm2-util --init-token --free --label selvane --so-pin 1111 --pin 2222 > /dev/null
openssl pkcs8 -topk8 -nocrypt -in "$signer/signer.key" -outform DER -out "$work/signer.der"
pkcs11-tool --module "$module" --login --pin 2222 --write-object "$work/signer.der" --type privkey --id 01 \
  --label signer > /dev/null 2>&1
python3 "$here/time_stamp_service.py" "$signer" "$work/port" &
service=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
env SELVANE_SIGN_CERT="$signer/signer.pem" SELVANE_SIGN_PKCS11_MODULE="$module" SELVANE_SIGN_PIN=2222 \
  SELVANE_SIGN_PKCS11_KEY="pkcs11:token=selvane;object=signer;type=private" \
  SELVANE_SIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat "$work/port")" "$sign" "$program" "$work/token.exe" > "$work/out" 2>&1 &&
  verifies "$work/token.exe" && grep -q "Timestamp Server Signature verification: ok" "$work/out"
result $? "a key in a token signs, with a time stamp that verifies"
exit $status
