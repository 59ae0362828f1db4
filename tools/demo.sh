#!/usr/bin/env bash
# The main job: builds the shipped Dravik.exe and shows one run of it under
# Wine, in a throwaway prefix, beside a sample setup program and monitor.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
. tools/lib.sh

cmake --preset windows --log-level=WARNING >/dev/null
cmake --build --preset windows >/dev/null
preset=windows
if ! can_run_32bit; then
    echo "Note: this kernel cannot execute 32-bit code, so the demonstration runs the"
    echo "64-bit build of the same sources (build/windows-x64/Dravik.exe). The shipped"
    echo "32-bit image is build/windows/Dravik.exe."
    echo
    preset=windows-x64
    cmake --preset "$preset" --log-level=WARNING >/dev/null
    cmake --build --preset "$preset" >/dev/null
fi
wine=$(sed -n 's/^DRAVIK_WINE:FILEPATH=//p' "build/$preset/CMakeCache.txt")
exec /usr/bin/python3 tools/demo.py "build/$preset/Dravik.exe" "build/$preset/tests/e2e/recorder.exe" "$wine"
