#!/usr/bin/env bash
# Times `tonrik --analyze` on a ten-minute 44.1 kHz recording: wall-clock seconds and peak
# memory (GNU time's "Maximum resident set size"). Builds the release preset first.
#     scripts/bench-analyze.sh [SECONDS=600] [CHANNELS=1]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh time # GNU time, for the peak memory
seconds=${1:-600}
channels=${2:-1}
cmake --preset release >/dev/null
cmake --build --preset release --target tonrik corvane_make_melody >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/release/bench/corvane_make_melody "$work/melody.wav" "$seconds" 44100 "$channels"
ls -l "$work/melody.wav"

cd "$work"
/usr/bin/time -v "$OLDPWD/build/release/app/tonrik" --analyze melody.wav > samples.csv 2> time.txt
grep -E "Elapsed \(wall clock\)|Maximum resident set size|User time|System time" time.txt
echo "rows: $(($(wc -l < samples.csv) - 1))"
