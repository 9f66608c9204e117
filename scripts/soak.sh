#!/usr/bin/env bash
# Long runs of every mode that stays open for hours, each printing its resident memory and CPU
# time as it goes and a summary line (memory at the start and the end, slope per hour, CPU per
# minute): the tuner with three drones, the tuner recording, the main window opening and closing
# a recording 500 times and then playing it in a loop, and a practice log of 10,000 runs.
#     scripts/soak.sh [MINUTES=10]
# Not part of `make test`: it takes MINUTES for each of the three timed modes.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-10}
seconds=$((minutes * 60))
cmake --preset release >/dev/null
cmake --build --preset release --target corvane_soak corvane_make_melody >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
soak=$PWD/build/release/bench/corvane_soak
build/release/bench/corvane_make_melody "$work/melody.wav" 30 44100 1

cd "$work"
export QT_QPA_PLATFORM=offscreen
status=0
for mode in tuner record window; do
    "$soak" "$mode" "$seconds" melody.wav 2>&1 | grep -v '^QStandardPaths' || status=1
done
"$soak" log 10000 2>&1 | grep -v '^QStandardPaths' || status=1
exit $status
