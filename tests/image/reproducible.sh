#!/bin/sh
# A second, clean build of the unsigned image in a scratch tree must give the
# same bytes as the build under test.
#   reproducible.sh <source dir> <preset> <scratch dir> <unsigned image>
set -eu
source=$1
preset=$2
scratch=$3
reference=$4
rm -rf "$scratch"
cmake -S "$source" -B "$scratch" --preset "$preset" >/dev/null
cmake --build "$scratch" --target DravikUnsigned >/dev/null
if ! cmp "$reference" "$scratch/Dravik-unsigned.exe"; then
    echo "reproducible: the two builds of Dravik-unsigned.exe differ" >&2
    exit 1
fi
rm -rf "$scratch"
