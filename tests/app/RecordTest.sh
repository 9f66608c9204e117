#!/bin/sh
# `tonrik --record`, run as a script would run it, its takes judged by sox and Python's `wave`:
#     RecordTest.sh TONRIK WORKDIR
# 1. A take killed with SIGKILL 2.5 s into the recording holds at least 1.5 s of sound for sox.
# 2. A 24-bit stereo take reads back, packed in 3 bytes, at the frequencies that were recorded.
# 3. SIGTERM ends a recording with status 0 and a finished file; a missing source is one message
#    and status 1.
set -u
tonrik=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

seconds() { sox "$1" -n stat 2>&1 | awk -F: '/^Length \(seconds\)/ { print $2 + 0 }'; }

sox -n -r 11025 -b 16 -c 1 tone16.wav synth 6 sine 440 vol 0.5 || fail "sox cannot make a tone"
"$tonrik" --record killed.wav --from tone16.wav &
pid=$!
sleep 2.5
kill -KILL $pid
wait $pid 2>/dev/null
len=$(seconds killed.wav)
echo "killed take: ${len:-unreadable} s"
awk -v l="${len:-0}" 'BEGIN { exit !(l >= 1.5) }' || fail "sox reads ${len:-nothing} s of the killed take"
# Our own reader takes the sound behind the last size update too, and says so.
"$tonrik" --analyze killed.wav >/dev/null 2>analyze.err
cat analyze.err
grep -q 'recovered [0-9.]* s of sound' analyze.err || fail "the killed take was not recovered"

sox -n -r 48000 -b 24 -c 2 tone24.wav synth 3 sine 440 sine 660 vol 0.5 || fail "no 24-bit tone"
"$tonrik" --record take24.wav --from tone24.wav --seconds 2 2>err24.txt || { cat err24.txt; fail "24-bit take"; }
[ "$(soxi -b take24.wav)" = 24 ] || fail "sox says $(soxi -b take24.wav) bits"
python3 - take24.wav <<'PY' || fail "Python's wave module does not read the 24-bit take right"
import sys, wave
w = wave.open(sys.argv[1], 'rb')
ch, width, rate, n = w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()
data = w.readframes(n)
print("24-bit take:", ch, "channels,", width, "bytes,", rate, "Hz,", n, "frames")
assert (ch, width, rate) == (2, 3, 48000) and 1.8 * rate <= n <= 2.1 * rate
for c, hz in ((0, 440.0), (1, 660.0)):
    prev, ups = 0, 0
    for i in range(n):
        at = (i * ch + c) * width
        v = int.from_bytes(data[at:at + width], 'little', signed=True)
        ups += prev < 0 <= v
        prev = v
    print("channel", c, ups * rate / n, "Hz")
    assert abs(ups * rate / n - hz) < 3.0
PY

"$tonrik" --record ended.wav --from tone16.wav &
pid=$!
sleep 1
kill -TERM $pid
wait $pid
status=$?
[ $status -eq 0 ] || fail "SIGTERM ended the recording with status $status"
python3 -c "import wave; w = wave.open('ended.wav'); assert w.getnframes() > 0" || fail "ended.wav"

"$tonrik" --record missing.wav --from no-such.wav 2>missing.txt
status=$?
[ $status -eq 1 ] && [ "$(wc -l <missing.txt)" -eq 1 ] && grep -q 'no-such.wav' missing.txt \
    || { cat missing.txt; fail "a missing source gave status $status"; }
echo "PASS"
