#!/usr/bin/env bash
# Renders the instrument notes with fluidsynth at each rate and prints the analyzer's accuracy
# table (make accuracy), then the same notes and tones through Debian's general pitch trackers
# beside ours (scripts/compare-trackers.sh; a tracker that is not installed is left out).
# Needs fluidsynth and the timgm6mb-soundfont package; the Makefile installs both, and aubio-tools
# and praat when it can. Usage: scripts/accuracy.sh [build dir] [rates...]
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

# The same files for every tracker, ours included: the sampled notes as scaled above, and the
# synthetic tones.
"$tool" --write-compare "$work" "${rates[@]}"
"$(dirname "$0")/compare-trackers.sh" "$work" "${rates[@]}"
"$tool" --compare "$work" "${rates[@]}"
