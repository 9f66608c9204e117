#!/usr/bin/env bash
# Renders the instrument notes with fluidsynth at each rate and prints the analyzer's accuracy
# table (make accuracy). Needs fluidsynth and the timgm6mb-soundfont package; the Makefile
# installs both. Usage: scripts/accuracy.sh [build dir] [rates...]
set -euo pipefail

build=${1:-build/release}
shift || true
rates=("$@")
[ ${#rates[@]} -gt 0 ] || rates=(11025 22050 44100)
font=/usr/share/sounds/sf2/TimGM6mb.sf2
work=$build/accuracy
tool=$build/bench/corvane_accuracy

mkdir -p "$work"
"$tool" --write-midi "$work"
for rate in "${rates[@]}"; do
    mkdir -p "$work/$rate"
    for midi in "$work"/*.mid; do
        name=$(basename "$midi" .mid)
        wav="$work/$rate/$name.wav"
        [ -s "$wav" ] && cmp -s "$midi" "$wav.mid" && continue
        fluidsynth -ni -q -R 0 -C 0 -g 0.5 -r "$rate" -F "$wav" "$font" "$midi" >/dev/null 2>&1
        cp "$midi" "$wav.mid" # what the rendering was made from
    done
done
"$tool" --measure "$work" "${rates[@]}"
