#!/bin/sh
# `tonrik --listen`, run as a script would run it, on a generated melody (C4, D4, E4, F4, G4, A4,
# ... each half a second with a quarter second of rest) heard in real time:
#     ListenTest.sh TONRIK MAKE_MELODY WORKDIR
# 1. Through a pipe into `head`: the rows come as they are played, the held notes in order, and
#    the program ends with status 0 as soon as `head` has gone, long before the file's end.
# 2. SIGINT ends it with status 0 and whole lines; --seconds ends it on time; --json gives one
#    object per line.
set -u
tonrik=$1
make_melody=$2
dir=$3
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" || exit 1
fail() { echo "FAIL: $*"; exit 1; }
now() { date +%s.%N; }
held() { awk -F, 'NR > 1 && $5 == 1 && $6 != "" && $6 != last { printf "%s ", $6; last = $6 }' "$1"; }

"$make_melody" melody.wav 8 11025 1 >/dev/null || fail "no melody"

start=$(now)
( "$tonrik" --listen --from melody.wav 2>pipe.err; echo $? >pipe.status ) | head -n 100 >head.csv
took=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
cat head.csv | head -n 4
notes=$(held head.csv)
echo "through head: $(wc -l <head.csv) lines, notes: $notes, $took s, status $(cat pipe.status)"
[ "$(head -n 1 head.csv)" = "time_s,pitch_hz,level,voiced,stable,note,cents" ] || fail "header"
case "$notes" in "C4 D4 E4 "*) ;; *) fail "the notes through head are '$notes'" ;; esac
[ "$(cat pipe.status)" = 0 ] || { cat pipe.err; fail "status $(cat pipe.status) after head went"; }
[ -s pipe.err ] && { cat pipe.err; fail "messages on stderr after head went"; }
awk -v t="$took" 'BEGIN { exit !(t < 5) }' || fail "it went on after head for $took s"

"$tonrik" --listen --from melody.wav >int.csv 2>int.err &
pid=$!
sleep 1.5
kill -INT $pid
wait $pid
status=$?
[ $status -eq 0 ] || fail "SIGINT ended it with status $status"
rows=$(wc -l <int.csv)
echo "after SIGINT: $rows lines"
# A row per hop of 23 ms: 1.5 s is about 65 of them, less the start-up.
[ "$rows" -ge 40 ] && [ "$rows" -le 120 ] || fail "$rows lines before SIGINT"
awk -F, 'NF != 7 { bad = 1 } END { exit bad }' int.csv || fail "a line cut short"
[ "$(tail -c 1 int.csv | od -An -c | tr -d ' ')" = '\n' ] || fail "the last line is not whole"

start=$(now)
"$tonrik" --listen --from melody.wav --seconds 1 --json >short.json 2>short.err || fail "--seconds"
took=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
python3 - short.json <<'PY' || fail "the JSON lines"
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1])]
assert 30 <= len(rows) <= 50, len(rows)
keys = {"time_s", "pitch_hz", "level", "voiced", "stable", "note", "cents"}
assert all(set(r) - {"reason"} == keys for r in rows)
print("json:", len(rows), "objects, notes", sorted({r["note"] for r in rows if r["stable"]}))
PY
awk -v t="$took" 'BEGIN { exit !(t < 3) }' || fail "--seconds 1 took $took s"
echo PASS
