#!/bin/sh
# A throwaway signing hierarchy for builds without a release certificate:
#   make-test-pki.sh <dir>
# writes <dir>/root.pem (the test root, to trust when verifying), the
# code-signing pair codesign.pem/codesign.key, the time-stamp pair
# tsa.pem/tsa.key and the chains codesign-chain.pem and tsa-chain.pem.
# New keys every time: never commit them and never reuse them elsewhere.
set -eu
dir=$1
mkdir -p "$dir"
cd "$dir"
rm -f ./*.pem ./*.key ./*.ext ./*.csr

days=3650
maker="/O=Pelmo"

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days "$days" -set_serial 1 \
    -keyout root.key -out root.pem -subj "$maker/CN=Pelmo Test Root" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null

leaf() { # name serial subject extensions
    printf '%s\n' "basicConstraints=critical,CA:FALSE" "$4" >"$1.ext"
    openssl req -newkey rsa:2048 -nodes -sha256 -keyout "$1.key" -out "$1.csr" \
        -subj "$3" 2>/dev/null
    openssl x509 -req -in "$1.csr" -CA root.pem -CAkey root.key -set_serial "$2" \
        -sha256 -days "$days" -extfile "$1.ext" -out "$1.pem" 2>/dev/null
    cat "$1.pem" root.pem >"$1-chain.pem"
    rm -f "$1.csr" "$1.ext"
}
leaf codesign 2 "$maker/CN=Pelmo" \
    "keyUsage=critical,digitalSignature
extendedKeyUsage=codeSigning"
leaf tsa 3 "$maker/CN=Pelmo Test Time Stamps" \
    "keyUsage=critical,digitalSignature
extendedKeyUsage=critical,timeStamping"
rm -f root.key
