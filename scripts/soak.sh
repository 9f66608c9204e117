#!/usr/bin/env bash
# Long runs of every mode that stays open for hours, each printing its resident memory and CPU
# time as it goes and a summary line (memory at the start and the end, slope per hour, CPU per
# minute): the tuner with three drones, the tuner recording, `tonrik --record` from a wave file,
# the main window opening and closing a recording 500 times and then playing it in a loop, and a
# practice log of 10,000 runs.
#     scripts/soak.sh [MINUTES=10]
# Not part of `make test`: it takes MINUTES for each of the four timed modes.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-10}
seconds=$((minutes * 60))
cmake --preset release >/dev/null
cmake --build --preset release --target corvane_soak corvane_make_melody tonrik >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
soak=$PWD/build/release/bench/corvane_soak
tonrik=$PWD/build/release/app/tonrik
make_melody=$PWD/build/release/bench/corvane_make_melody
"$make_melody" "$work/melody.wav" 30 44100 1

cd "$work"
export QT_QPA_PLATFORM=offscreen
status=0
for mode in tuner record window; do
    "$soak" "$mode" "$seconds" melody.wav 2>&1 | grep -v '^QStandardPaths' || status=1
done
"$soak" log 10000 2>&1 | grep -v '^QStandardPaths' || status=1

# The program itself, recording a melody as long as the run in real time through the virtual
# capture device (which plays a file once): its resident memory and CPU time read from /proc
# every ten seconds, the same summary. The file it plays is held in memory whole, from the start.
"$make_melody" long.wav "$seconds" 44100 1 >/dev/null
"$tonrik" --record take.wav --seconds "$seconds" --from long.wav 2>/dev/null &
pid=$!
sleep 1 # past the start, so that the samples are the program's own
: >samples.txt
while kill -0 "$pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || true)
    [ -n "$rss" ] && [ -n "$ticks" ] && echo "$SECONDS $rss $ticks" >>samples.txt
    sleep 10
done
wait "$pid" || status=1
awk -v hz="$(getconf CLK_TCK)" -v size="$(stat -c %s take.wav)" '
    NR == 1 { t0 = $1; first = $2 }
    { t = $1 - t0; mb = $2 / 1024; last = mb
      if (t >= 60) { if (!n++) { warm = mb; tw = t; cw = $3 } n1 = n; sx += t/3600; sy += mb
                     sxx += (t/3600)^2; sxy += t/3600 * mb; tl = t; cl = $3 } }
    END { slope = n1 >= 2 ? (n1*sxy - sx*sy) / (n1*sxx - sx*sx) : 0
          fmt = "tonrik --record: %.1f min; RSS %.2f MB at the start, %.2f MB after a minute, "
          fmt = fmt "%.2f MB at the end; slope %+.2f MB/h; CPU %.2f s/min; the take holds %.1f MB\n"
          cpu = (tl > tw) ? (cl - cw) / hz / ((tl - tw) / 60) : 0
          printf fmt, tl / 60, first / 1024, warm, last, slope, cpu, size / 1e6 }' samples.txt
exit $status
