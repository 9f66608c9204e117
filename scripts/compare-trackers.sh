#!/usr/bin/env bash
# Runs Debian's general pitch trackers on the files `corvane_accuracy --write-compare` wrote, and
# leaves each one's track beside the wave file (<file>.wav.aubio-<method>.txt, <file>.wav.praat.txt)
# for `corvane_accuracy --compare`. A tracker that is not installed is skipped with a note.
# Usage: scripts/compare-trackers.sh [--passages] WORKDIR RATE...
#
# With --passages it runs on the passages `corvane_accuracy --prepare-passages` wrote
# (WORKDIR/<rate>/passages/) for `--score-passages`: aubio's yin, Praat, and ours, when TONRIK
# names the program, through `tonrik --analyze FILE --json` with the factory settings (an empty
# settings folder of its own; <file>.wav.ours.json) and with the others' limits, 27.5 ... 4200 Hz
# (<file>.wav.ours-wide.json).
#
# aubiopitch gets a window as long as our block (1024, 2048 or 4096 frames at 11025, 22050 and
# 44100 Hz) and a hop of a quarter of it; Praat the same pitch range as our analyzer
# (27.5 ... 4200 Hz). Everything else is each tracker's default.
set -euo pipefail

folder=compare
methods=(yin yinfft mcomb schmitt)
if [ "${1:-}" = --passages ]; then
    folder=passages
    methods=(yin)
    shift
fi
work=$(cd "$1" && pwd) # Praat reads paths from the script's own folder
shift
here=$(cd "$(dirname "$0")" && pwd)

have_aubio=1
have_praat=1
command -v aubiopitch >/dev/null || { have_aubio=0; echo "aubiopitch not found (package aubio-tools): left out" >&2; }
command -v praat >/dev/null || { have_praat=0; echo "praat not found (package praat): left out" >&2; }

# The factory settings: a settings folder with no "tonrik.def" or "tonrik.prefs", also the
# working folder (a working folder holding "tonrik.def" would be used instead).
if [ -n "${TONRIK:-}" ]; then
    TONRIK=$(cd "$(dirname "$TONRIK")" && pwd)/$(basename "$TONRIK")
    factory=$work/factory-settings
    rm -rf "$factory"
    mkdir -p "$factory"
fi

# Output older than its wave file is made again; the rest is kept.
fresh() { [ -s "$1" ] && [ "$1" -nt "$2" ]; }

for rate in "$@"; do
    case $rate in
        11025) block=1024 ;;
        22050) block=2048 ;;
        *) block=4096 ;;
    esac
    for wav in "$work/$rate/$folder"/*.wav; do
        [ -e "$wav" ] || continue
        if [ $have_aubio = 1 ]; then
            for method in "${methods[@]}"; do
                out="$wav.aubio-$method.txt"
                fresh "$out" "$wav" && continue
                aubiopitch -p "$method" -B "$block" -H $((block / 4)) -i "$wav" >"$out.part"
                mv "$out.part" "$out"
            done
        fi
        if [ $have_praat = 1 ]; then
            out="$wav.praat.txt"
            if ! fresh "$out" "$wav"; then
                praat --run "$here/pitch-listing.praat" "$wav" "$out.part" 27.5 4200 >/dev/null
                mv "$out.part" "$out"
            fi
        fi
        if [ $folder = passages ] && [ -n "${TONRIK:-}" ]; then
            # The factory settings, and the same with the limits the other trackers get.
            for variant in ours ours-wide; do
                out="$wav.$variant.json"
                limits=()
                [ $variant = ours-wide ] && limits=(--lowest 27.5 --highest 4200)
                # Made again when the program is newer too.
                fresh "$out" "$wav" && [ "$out" -nt "$TONRIK" ] && continue
                (cd "$factory" && env -u CORVANE_PORTABLE XDG_CONFIG_HOME="$factory" \
                    XDG_CACHE_HOME="$factory/cache" XDG_DATA_HOME="$factory/data" \
                    "$TONRIK" --analyze "$wav" --json "${limits[@]}" >"$out.part")
                mv "$out.part" "$out"
            done
        fi
    done
done
