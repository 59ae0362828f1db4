#!/bin/sh
# Signs the finished image with Authenticode (SHA-256) and a time stamp:
#   sign-image.sh <in.exe> <out.exe> <test-pki-dir> [<cert> <key> <timestamp-url>]
# With a certificate, key and time-stamp service (a release), those are used.
# Without them, the throwaway hierarchy from make-test-pki.sh signs, and
# osslsigncode's own time-stamp authority stamps with the same time, which
# lies inside the validity of every certificate just made.
set -eu
in=$1
out=$2
pki=$3
cert=${4:-}
key=${5:-}
url=${6:-}
rm -f "$out"
if [ -n "$cert" ]; then
    if [ -z "$key" ] || [ -z "$url" ]; then
        echo "sign-image: a release signature needs a key and a time-stamp URL too" >&2
        exit 2
    fi
    osslsigncode sign -certs "$cert" -key "$key" -h sha256 -ts "$url" \
        -in "$in" -out "$out" >/dev/null
    chmod 755 "$out"
    exit 0
fi
now=$(date +%s)
osslsigncode sign -certs "$pki/codesign-chain.pem" -key "$pki/codesign.key" -h sha256 \
    -time "$now" -TSA-certs "$pki/tsa-chain.pem" -TSA-key "$pki/tsa.key" -TSA-time "$now" \
    -in "$in" -out "$out" >/dev/null
chmod 755 "$out"
