#!/bin/sh
# Throwaway Wine prefixes for the tests.
#   wine-prefix.sh start <wine-loader> <prefix>  create the prefix if needed and
#                                                keep one wineserver running
#   wine-prefix.sh stop  <wine-loader> <prefix>  stop that wineserver
set -eu
action=$1
loader=$2
prefix=$3
case "$loader" in
    *64) server=/usr/lib/wine/wineserver64; arch=win64 ;;
    *) server=/usr/lib/wine/wineserver32; arch=win32 ;;
esac
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
    start)
        if [ ! -f "$prefix/system.reg" ]; then
            rm -rf "$prefix"
            WINEARCH=$arch "$loader" wineboot -i >/dev/null 2>&1
            "$server" -w </dev/null >/dev/null 2>&1
        fi
        # A persistent server makes every later process start cheap; one
        # that is already running serves as well.
        "$server" -p </dev/null >/dev/null 2>&1 || true
        # Bring up Wine's own services now, with no output attached: started
        # later by a test program, they would inherit and hold that program's
        # output pipe open long after it has ended.
        "$loader" wineboot </dev/null >/dev/null 2>&1
        ;;
    stop)
        "$server" -k 2>/dev/null || true
        ;;
    *)
        echo "usage: $0 start|stop <wine-loader> <prefix>" >&2
        exit 2
        ;;
esac
