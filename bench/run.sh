#!/bin/sh
# Benchmarks: wall time and peak memory of the programs on a generated file
# of about 2 million events, beside midicsv and csvmidi where installed.
#
# usage: bench/run.sh BIN_DIR WORK_DIR
#
# Each file in bench/commands.d/ lists commands, one per line:
#   NAME<TAB>COMMAND[<TAB>REFERENCE]
# run by sh with $MID (the benchmark file), $HALF (a file of half the notes),
# $TEXT (the benchmark file as hexscribe text) and $OUT (a scratch output
# path) set. Lines starting with "#" are comments. Each time is also given
# as a multiple of the reference's time (midicsv unless the line names
# csvmidi), where the reference is installed.
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

# measure NAME COMMAND [REFERENCE-SECONDS]: prints the name, seconds, peak
# memory (MB) and the multiple of the reference time. Each command runs
# $RUNS times (default 3) and the least time counts: on a shared machine it
# is the run that other work disturbed least.
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
    printf '%-28s %8.2f s %8.1f MB  %s %s\n' "$1" "$seconds" "$(echo "$kb / 1024" | bc -l)" "$ratio" \
        "$([ $status = ok ] || echo FAILED)"
}

midicsv_time=""
csvmidi_time=""
if command -v midicsv > /dev/null; then
    measure "midicsv" 'midicsv "$MID" "$OUT.csv"'
    midicsv_time=$seconds
    midicsv "$MID" "$work/bench.csv"
    measure "csvmidi" 'csvmidi "$WORK/bench.csv" "$OUT.mid"'
    csvmidi_time=$seconds
else
    echo "(midicsv is not installed: apt-get install midicsv to compare)"
fi
for list in "$here"/commands.d/*.txt; do
    grep -v '^#' "$list" | while IFS="$(printf '\t')" read -r name command reference; do
        [ -n "$name" ] || continue
        if [ "${reference:-}" = csvmidi ]; then
            measure "$name" "$command" "$csvmidi_time"
        else
            measure "$name" "$command" "$midicsv_time"
        fi
    done
done
