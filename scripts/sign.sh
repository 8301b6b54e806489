#!/usr/bin/env bash
# Signs a release with Authenticode (SHA-256) into OUTPUT and writes
# OUTPUT.sha256 beside it. INPUT, the reproducible file as built, is never
# changed. Usage: scripts/sign.sh INPUT OUTPUT
#
# The publisher's key comes from the environment, one of:
#   SELVANE_SIGN_PKCS12        a PKCS#12 file with the certificate, its chain and key
#   SELVANE_SIGN_PASSWORD      its password
# or, for a key held in a hardware token or HSM:
#   SELVANE_SIGN_CERT          the certificate file (PEM or DER), chain included
#   SELVANE_SIGN_PKCS11_MODULE the token's PKCS#11 library
#   SELVANE_SIGN_PKCS11_KEY    the key's PKCS#11 URI (pkcs11:token=...;object=...)
#   SELVANE_SIGN_PIN           the token's PIN (optional)
# and optionally:
#   SELVANE_SIGN_TIMESTAMP_URL an RFC 3161 time-stamping service, so that the
#                              signature outlives the certificate
#
# Refuses, saying why and writing nothing: no key, a wrong password, a
# certificate not valid now or without the code-signing usage, an input that
# is no PE file, an output that is the input or in no folder.
set -euo pipefail

refuse() {
  echo "sign.sh: $*" >&2
  exit 1
}
[ $# -eq 2 ] || refuse "usage: scripts/sign.sh INPUT OUTPUT"
input=$1 output=$2
[ -f "$input" ] || refuse "no input file: $input"
[ "$(realpath -m "$input")" != "$(realpath -m "$output")" ] ||
  refuse "the output is the input: the unsigned file stays as built; name another output"
[ -d "$(dirname "$output")" ] || refuse "the output's folder does not exist: $(dirname "$output")"

# A PE file: "MZ", and "PE\0\0" where its header says.
byte_at() { { od -An -tx1 -j "$2" -N "$3" "$1" 2> /dev/null || true; } | tr -d ' \n'; }
not_pe() { refuse "not a Windows program (PE file): $input"; }
[ "$(byte_at "$input" 0 2)" = 4d5a ] || not_pe
header=$(byte_at "$input" 60 4)
[ ${#header} -eq 8 ] || not_pe
[ "$(byte_at "$input" $((16#${header:6:2}${header:4:2}${header:2:2}${header:0:2})) 4)" = 50450000 ] || not_pe

# Only this user can read the folder the password goes into.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -n "${SELVANE_SIGN_PKCS12:-}" ]; then
  [ -f "$SELVANE_SIGN_PKCS12" ] || refuse "SELVANE_SIGN_PKCS12 names no file: $SELVANE_SIGN_PKCS12"
  [ -n "${SELVANE_SIGN_PASSWORD+set}" ] || refuse "SELVANE_SIGN_PASSWORD is not set (the password of $SELVANE_SIGN_PKCS12)"
  printf '%s' "$SELVANE_SIGN_PASSWORD" > "$work/password"
  # The certificate that goes with the key; files from older tools need OpenSSL's legacy algorithms.
  if ! openssl pkcs12 -in "$SELVANE_SIGN_PKCS12" -passin "file:$work/password" -nokeys -clcerts \
         -out "$work/certificate.pem" 2> "$work/error" &&
     ! openssl pkcs12 -legacy -in "$SELVANE_SIGN_PKCS12" -passin "file:$work/password" -nokeys -clcerts \
         -out "$work/certificate.pem" 2>> "$work/error"; then
    refuse "SELVANE_SIGN_PASSWORD does not open $SELVANE_SIGN_PKCS12 (wrong password?): $(head -1 "$work/error")"
  fi
  key=(-pkcs12 "$SELVANE_SIGN_PKCS12" -readpass "$work/password")
elif [ -n "${SELVANE_SIGN_PKCS11_MODULE:-}" ]; then
  [ -f "${SELVANE_SIGN_CERT:-}" ] || refuse "SELVANE_SIGN_CERT names no certificate file: ${SELVANE_SIGN_CERT:-(not set)}"
  [ -n "${SELVANE_SIGN_PKCS11_KEY:-}" ] || refuse "SELVANE_SIGN_PKCS11_KEY is not set (the key's pkcs11: URI)"
  openssl x509 -in "$SELVANE_SIGN_CERT" -out "$work/certificate.pem" 2> "$work/error" ||
    openssl x509 -inform DER -in "$SELVANE_SIGN_CERT" -out "$work/certificate.pem" 2>> "$work/error" ||
    refuse "SELVANE_SIGN_CERT holds no certificate: $(head -1 "$work/error")"
  key=(-pkcs11module "$SELVANE_SIGN_PKCS11_MODULE" -certs "$SELVANE_SIGN_CERT" -key "$SELVANE_SIGN_PKCS11_KEY")
  if [ -n "${SELVANE_SIGN_PIN:-}" ]; then
    printf '%s' "$SELVANE_SIGN_PIN" > "$work/password"
    key+=(-readpass "$work/password")
  fi
else
  refuse "no key: set SELVANE_SIGN_PKCS12 and SELVANE_SIGN_PASSWORD, or SELVANE_SIGN_CERT, SELVANE_SIGN_PKCS11_MODULE and SELVANE_SIGN_PKCS11_KEY"
fi

# Valid now, and for signing code: Windows would show a signature made
# otherwise as invalid, or an unknown publisher.
certificate=$work/certificate.pem
subject=$(openssl x509 -in "$certificate" -noout -subject)
not_before=$(openssl x509 -in "$certificate" -noout -startdate | cut -d= -f2)
[ "$(date -d "$not_before" +%s)" -le "$(date +%s)" ] || refuse "the certificate is not valid before $not_before: $subject"
openssl x509 -in "$certificate" -noout -checkend 0 > /dev/null ||
  refuse "the certificate expired on $(openssl x509 -in "$certificate" -noout -enddate | cut -d= -f2): $subject"
openssl x509 -in "$certificate" -noout -ext extendedKeyUsage 2> /dev/null | grep -q "Code Signing" ||
  refuse "the certificate is not for code signing (extended key usage): $subject"

timestamp=()
[ -z "${SELVANE_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$SELVANE_SIGN_TIMESTAMP_URL")
osslsigncode sign -h sha256 "${key[@]}" "${timestamp[@]}" -in "$input" -out "$work/signed.exe" > "$work/log" 2>&1 ||
  refuse "osslsigncode could not sign $input: $(grep -v '^$' "$work/log" | tail -3 | tr '\n' ' ')"

# Into place whole, or not at all.
cp "$work/signed.exe" "$output.part"
chmod 755 "$output.part"
mv -f "$output.part" "$output"
(cd "$(dirname "$output")" && sha256sum "$(basename "$output")" > "$(basename "$output").sha256")
echo "signed: $output ($subject)"
