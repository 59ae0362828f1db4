#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent: a second run only checks.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root" >&2
    exit 1
fi

stamp=/var/lib/dravik-deps.stamp
want_version=4
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want_version" ]; then
    exit 0
fi

export DEBIAN_FRONTEND=noninteractive

# Source entries for `apt-get source tinyxml`, derived from the machine's own
# binary entries so that no archive host is written down anywhere.
src_list=/etc/apt/sources.list.d/dravik-deb-src.sources
if [ ! -f "$src_list" ]; then
    found=0
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        [ "$f" = "$src_list" ] && continue
        sed -e 's/^Types:.*/Types: deb-src/' "$f" >>"$src_list"
        echo >>"$src_list"
        found=1
    done
    if [ "$found" = 0 ] && [ -f /etc/apt/sources.list ]; then
        grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' \
            >/etc/apt/sources.list.d/dravik-deb-src.list
        rm -f "$src_list"
    fi
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi

apt-get update -qq
apt-get install -y -qq --no-install-recommends \
    cmake ninja-build make dpkg-dev \
    g++ clang libclang-rt-14-dev \
    g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix \
    googletest libgtest-dev \
    wine wine32:i386 wine64 \
    python3 python3-pefile python3-pil \
    osslsigncode openssl \
    time >/dev/null

echo "$want_version" >"$stamp"
