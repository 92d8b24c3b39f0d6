#!/bin/sh
# Benchmarks: wall time and peak memory of the programs on a generated file
# of about 2 million events, beside midicsv and csvmidi where installed.
#
# usage: bench/run.sh BIN_DIR WORK_DIR
#
# Each file in bench/commands.d/ lists commands, one per line:
#   NAME<TAB>COMMAND[<TAB>FLAGS]
# run by sh with $MID (the benchmark file), $HALF (a file of half the notes),
# $TEXT (the benchmark file as hexscribe text) and $OUT (a scratch output
# path) set. Lines starting with "#" are comments. Each time is also given
# as a multiple of the reference's time (midicsv unless FLAGS holds the word
# csvmidi), where the reference is installed. With the word "count" in
# FLAGS, the instructions the command executes per event of the benchmark
# file are counted too (callgrind, where valgrind is installed; about half a
# minute a line; COUNT=0 skips them): unlike times, they are the same however
# busy the machine is.
set -eu
bin=$(cd "$1" && pwd)
mkdir -p "$2"
work=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
PATH="$bin:$PATH"
command -v make_bench_midi > /dev/null ||
    { echo "$bin holds no make_bench_midi: configure with -DTUNEFOLIO_BENCH=ON (make bench does)" >&2; exit 1; }
export WORK="$work" MID="$work/bench.mid" HALF="$work/half.mid" TEXT="$work/bench.txt" OUT="$work/out"

[ -f "$MID" ] || make_bench_midi "$MID"
[ -f "$HALF" ] || make_bench_midi "$HALF" 62500
[ -f "$TEXT" ] || smftext "$MID" > "$TEXT"
echo "benchmark file: $(wc -c < "$MID") bytes; as text: $(wc -c < "$TEXT") bytes"

EVENTS=$(grep -c '^v' "$TEXT")
echo "events: $EVENTS"

# per_event COMMAND: instructions of one run of the command per event of the
# benchmark file, or nothing.
per_event() {
    [ "${COUNT:-1}" != 0 ] && command -v valgrind > /dev/null || return 0
    valgrind --tool=callgrind --callgrind-out-file=/dev/null --trace-children=yes sh -c "$1" \
        > /dev/null 2> "$work/callgrind" < /dev/null || true
    awk -v events="$EVENTS" '/Collected :/ { sum += $NF }
        END { if (sum > 0) printf "%6.0f instructions/event", sum / events }' "$work/callgrind"
}

# measure NAME COMMAND [REFERENCE-SECONDS [count]]: prints the name, seconds,
# peak memory (MB), the multiple of the reference time and, when asked, the
# instructions per event. Each command runs $RUNS times (default 3) and the
# least time counts: on a shared machine it is the run that other work
# disturbed least.
RUNS=${RUNS:-3}
measure() {
    status=ok
    best=""
    kb=0
    run=0
    while [ $run -lt "$RUNS" ]; do
        run=$((run + 1))
        /usr/bin/time -f "%e %M" -o "$work/time" sh -c "$2" > /dev/null 2>&1 || status=FAILED
        read -r t k <<EOF2
$(tail -n 1 "$work/time")
EOF2
        best=$(echo "${best:-$t} $t" | awk '{ print ($2 < $1) ? $2 : $1 }')
        kb=$(echo "$kb $k" | awk '{ print ($2 > $1) ? $2 : $1 }')
    done
    seconds=$best
    ratio=""
    if [ -n "${3:-}" ]; then
        ratio=$(echo "$seconds $3" | awk '{ if ($2 > 0) printf "%5.2f x", $1 / $2 }')
    fi
    instructions=""
    [ "${4:-}" = count ] && instructions=$(per_event "$2")
    printf '%-28s %8.2f s %8.1f MB  %7s  %s %s\n' "$1" "$seconds" "$(echo "$kb / 1024" | bc -l)" "$ratio" \
        "$instructions" "$([ $status = ok ] || echo FAILED)"
}

midicsv_time=""
csvmidi_time=""
if command -v midicsv > /dev/null; then
    measure "midicsv" 'midicsv "$MID" "$OUT.csv"' "" count
    midicsv_time=$seconds
    midicsv "$MID" "$work/bench.csv"
    measure "csvmidi" 'csvmidi "$WORK/bench.csv" "$OUT.mid"'
    csvmidi_time=$seconds
else
    echo "(midicsv is not installed: apt-get install midicsv to compare)"
fi
for list in "$here"/commands.d/*.txt; do
    grep -v '^#' "$list" | while IFS="$(printf '\t')" read -r name command flags; do
        [ -n "$name" ] || continue
        reference=$midicsv_time
        case " ${flags:-} " in *" csvmidi "*) reference=$csvmidi_time ;; esac
        count=""
        case " ${flags:-} " in *" count "*) count=count ;; esac
        measure "$name" "$command" "$reference" $count
    done
done
