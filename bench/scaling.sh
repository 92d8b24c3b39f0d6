#!/bin/sh
# Linear scaling: every program that reads MIDI, on files of n and of n/2
# events in four shapes, prints CPU time(full) / time(half). A linear program
# gives about 2; the target is at most 2.3 (no quadratic step anywhere).
#
# usage: bench/scaling.sh [--cpu] BIN_DIR WORK_DIR [PROGRAM-NAME-PATTERN]
#
# The work is counted in instructions executed (valgrind's callgrind), which
# is the same on every run however busy the machine is; this takes about
# forty minutes for every program. With --cpu (or without valgrind) it is
# measured as CPU time instead, the least of five runs: faster, but on a
# shared machine a ratio can stray by a few tenths.
#
# Shapes: "spread" (8 tracks x 125,000 notes, about 2 million events),
# "one-tick" (the same number of notes, all starting at tick 0), "one-key"
# (100,000 notes of one key and channel, each overlapping all later ones),
# "one-track" (2 million events in a single track). Programs and their
# command lines come from tests/hostile/programs.txt.
set -eu
measure=instructions
if [ "${1:-}" = --cpu ] || ! command -v valgrind > /dev/null; then
    measure=cpu
fi
[ "${1:-}" = --cpu ] && shift
bin=$(cd "$1" && pwd)
mkdir -p "$2"
work=$(cd "$2" && pwd)
pattern=${3:-.}
here=$(cd "$(dirname "$0")" && pwd)
PATH="$bin:$PATH"
export LC_ALL=C

command -v make_bench_midi > /dev/null ||
    { echo "$bin holds no make_bench_midi: configure with -DTUNEFOLIO_BENCH=ON (make bench does)" >&2; exit 1; }
make_pair() {  # shape full-args half-args
    [ -f "$work/$1-full.mid" ] || make_bench_midi "$work/$1-full.mid" $2
    [ -f "$work/$1-half.mid" ] || make_bench_midi "$work/$1-half.mid" $3
}
make_pair spread "125000 8" "62500 8"
make_pair one-tick "125000 8 one-tick" "62500 8 one-tick"
make_pair one-key "100000 1 one-key" "50000 1 one-key"
make_pair one-track "1000000 1" "500000 1"

# instructions COMMAND FILE: millions of instructions the command executes.
instructions() {
    (cd "$work" && F="$2" O="$work/out" valgrind --tool=callgrind --callgrind-out-file=/dev/null \
        --trace-children=yes sh -c "$1" > /dev/null 2> "$work/time" < /dev/null) || true
    awk '/Collected :/ { sum += $NF } END { printf "%.3f", sum / 1e6 }' "$work/time"
}

# cpu COMMAND FILE: CPU seconds of the command, the least of five runs
# (perf's task clock where perf works, else /usr/bin/time's user + system):
# the least is the run that other work on the machine disturbed least.
if perf stat -x, -e task-clock true > /dev/null 2>&1; then
    cpu() {
        best=""
        for run in 1 2 3 4 5; do
            (cd "$work" && F="$2" O="$work/out" perf stat -x, -e task-clock -o "$work/time" \
                sh -c "$1" > /dev/null 2>&1 < /dev/null) || true
            t=$(awk -F, '/task-clock/ { printf "%.3f", $1 / 1000 }' "$work/time")
            best=$(echo "$best $t" | awk '{ m = $1; for (i = 2; i <= NF; i++) if ($i < m) m = $i; print m }')
        done
        echo "$best"
    }
else
    cpu() {
        best=""
        for run in 1 2 3 4 5; do
            (cd "$work" && F="$2" O="$work/out" /usr/bin/time -f "%U %S" -o "$work/time" \
                sh -c "$1" > /dev/null 2>&1 < /dev/null) || true
            t=$(tail -n 1 "$work/time" | awk '{ printf "%.2f", $1 + $2 }')
            best=$(echo "$best $t" | awk '{ m = $1; for (i = 2; i <= NF; i++) if ($i < m) m = $i; print m }')
        done
        echo "$best"
    }
fi

if [ $measure = instructions ]; then
    unit="M instr"
    tooSmall=1   # million instructions
else
    unit="seconds"
    tooSmall=0.01
fi
printf '%-24s %-10s %10s %10s %7s   (%s)\n' program shape half full ratio "$unit"
grep -v '^#' "$here/../tests/hostile/programs.txt" | while IFS="$(printf '\t')" read -r name command; do
    [ -n "$name" ] || continue
    echo "$name" | grep -q -E "$pattern" || continue
    for shape in spread one-tick one-key one-track; do
        half=$($measure "$command" "$work/$shape-half.mid")
        full=$($measure "$command" "$work/$shape-full.mid")
        echo "$name $shape $half $full $tooSmall" | awk '{
            note = "";
            if ($3 < $5) { ratio = "-"; note = "  (too little work to judge)" }
            else { ratio = sprintf("%.2f", $4 / $3); if ($4 / $3 > 2.3) note = "  ABOVE 2.3" }
            printf "%-24s %-10s %10.3f %10.3f %7s%s\n", $1, $2, $3, $4, ratio, note }'
    done
done
