#!/bin/sh
# Launch overhead and footprint benchmark. Builds what it needs, runs Dravik
# and the reference launcher under Wine, prints a table and exits non-zero
# when a budget is exceeded. Options: see bench/benchmark.py --help.
set -eu
exec /usr/bin/python3 "$(dirname "$0")/benchmark.py" "$@"
