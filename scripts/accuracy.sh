#!/usr/bin/env bash
# Renders the instrument notes with fluidsynth at each rate and prints the analyzer's accuracy
# table (make accuracy), then the same notes and tones through Debian's general pitch trackers
# beside ours (scripts/compare-trackers.sh; a tracker that is not installed is left out), then
# the played passages through `tonrik --analyze` and the same trackers (bench/Passages.h).
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
# render MIDI-DIR WAVE-DIR RATE: each MIDI file to a wave file, unless it is there already, made
# from the same MIDI file.
render() {
    mkdir -p "$2"
    for midi in "$1"/*.mid; do
        name=$(basename "$midi" .mid)
        wav="$2/$name.wav"
        [ -s "$wav" ] && cmp -s "$midi" "$wav.mid" && continue
        fluidsynth -ni -q -R 0 -C 0 -g 0.5 -r "$3" -F "$wav" "$font" "$midi" >/dev/null 2>&1
        cp "$midi" "$wav.mid" # what the rendering was made from
    done
}
for rate in "${rates[@]}"; do
    render "$work" "$work/$rate" "$rate"
done
"$tool" --measure "$work" "${rates[@]}"

# The same files for every tracker, ours included: the sampled notes as scaled above, and the
# synthetic tones.
"$tool" --write-compare "$work" "${rates[@]}"
"$(dirname "$0")/compare-trackers.sh" "$work" "${rates[@]}"
"$tool" --compare "$work" "${rates[@]}"

# The passages, scored for ours through the program as users run it.
cmake --build "$build" --target tonrik
"$tool" --write-passage-midi "$work"
for rate in "${rates[@]}"; do
    render "$work/passages" "$work/$rate/passages/rendered" "$rate"
done
"$tool" --prepare-passages "$work" "${rates[@]}"
TONRIK=$build/app/tonrik "$(dirname "$0")/compare-trackers.sh" --passages "$work" "${rates[@]}"
"$tool" --score-passages "$work" "${rates[@]}"
