#!/bin/sh
# CTest's emulator for the Windows test binaries: wine-run.sh <loader> <prefix> <exe> [args]
set -eu
loader=$1
export WINEPREFIX=$2
shift 2
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
exec "$loader" "$@"
