#!/usr/bin/env bash
# Makes a throwaway publisher for the tests in FOLDER (never committed): a
# root CA, a code-signing certificate in signer.p12 (password "test"), and
# for the refusals one expired, one not yet valid (issued at a faked time),
# one for servers only; and a time-stamping authority.
# Usage: make-test-signer.sh FOLDER
set -euo pipefail
rm -rf "$1"
mkdir -p "$1"
cd "$1"
openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 3650 -subj "/CN=Selvane Test Root" \
  -addext "basicConstraints=critical,CA:true" -addext "keyUsage=critical,keyCertSign,cRLSign" 2> /dev/null

# NAME EXTENDED_KEY_USAGE [ISSUED_ON]
issue() {
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=Selvane Test $1" 2> /dev/null
  printf 'basicConstraints=CA:false\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$2" > "$1.ext"
  ${3:+faketime "$3"} openssl x509 -req -in "$1.csr" -CA root.pem -CAkey root.key -CAcreateserial -days 365 \
    -extfile "$1.ext" -out "$1.pem" 2> /dev/null
  openssl pkcs12 -export -inkey "$1.key" -in "$1.pem" -certfile root.pem -out "$1.p12" -passout pass:test
}
issue signer codeSigning
issue expired codeSigning 2020-01-01
issue future codeSigning 2099-01-01
issue server serverAuth
issue tsa critical,timeStamping
