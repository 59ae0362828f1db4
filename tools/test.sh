#!/usr/bin/env bash
# Runs every test of every preset: unit, end to end under Wine, image checks,
# and the host build under the sanitizers with a bounded fuzzing run.
set -uo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh || exit 1
# shellcheck source=tools/lib.sh
. tools/lib.sh

failed=()
run() {
    echo "==> $*"
    "$@" || failed+=("$*")
}

build() {
    run cmake --preset "$1" --log-level=WARNING && run cmake --build --preset "$1"
}

# The 32-bit presets are always built: the windows preset is the shipped image.
for preset in windows windows-diag windows-unit; do
    build "$preset"
done

if can_run_32bit; then
    for preset in windows windows-diag windows-unit; do
        run ctest --preset "$preset"
    done
else
    echo "==> This kernel cannot execute 32-bit code, so 32-bit Wine cannot run here."
    echo "    Checks of the 32-bit image run; everything that executes Windows code"
    echo "    runs on the 64-bit twins of the same sources."
    run ctest --preset windows --label-exclude wine --no-tests=ignore
    for preset in windows-x64 windows-diag-x64 windows-unit-x64; do
        build "$preset" && run ctest --preset "$preset"
    done
fi

build host && run ctest --preset host

echo
if [ ${#failed[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${failed[@]}"
    exit 1
fi
echo "All presets passed."
