#!/bin/sh
# Small files: most MIDI files are 5 to 100 KB, and scripts run a program
# once per file, so what counts there is the whole run: loading the program,
# starting it, reading and writing a small file. This runs smftext, notetable
# and tunespan once per file over 1,000 generated files of 2 to 50 KB, and
# midicsv the same way, and prints each total wall time (the least of $RUNS
# rounds, default 3, that run the programs in turn) and its multiple of
# midicsv's; then tunespan over all the files in one run, in files per
# second. Where valgrind is installed, the
# instructions of one run on a 10 KB file are counted too (callgrind): unlike
# the times they do not depend on how busy the machine is.
#
# usage: bench/small.sh BIN_DIR WORK_DIR [BEFORE_BIN_DIR]
# With BEFORE_BIN_DIR (an older build, such as the baseline programs), each
# program is measured from there too, in the same run.
set -eu
bin=$(cd "$1" && pwd)
mkdir -p "$2"
work=$(cd "$2" && pwd)
before=""
[ -n "${3:-}" ] && before=$(cd "$3" && pwd)
PATH="$bin:$PATH"
RUNS=${RUNS:-3}
small="$work/small"
export LC_ALL=C

if [ ! -f "$small/song-1000.mid" ]; then
    command -v make_small_midi > /dev/null ||
        { echo "$bin holds no make_small_midi: configure with -DTUNEFOLIO_BENCH=ON (make bench does)" >&2; exit 1; }
    mkdir -p "$small"
    make_small_midi "$small"
fi
one="$small/song-0164.mid"  # 10 KB
count=$(ls "$small" | wc -l)
echo "small files: $count files, $(du -sk "$small" | cut -f1) KB; one run counted on $(wc -c < "$one") bytes"

# The measured lines, one per line: NAME<TAB>KIND<TAB>PROGRAM, where KIND is
# "each" (PROGRAM run once per file) or "all" (tunespan on every file at once).
lines="$work/lines"
: > "$lines"
add() { printf '%s\t%s\t%s\n' "$1" "$2" "$3" >> "$lines"; }
command -v midicsv > /dev/null && add midicsv each "$(command -v midicsv)"
for program in smftext notetable tunespan; do
    add "$program" each "$bin/$program"
    [ -z "$before" ] || add "$program (before)" each "$before/$program"
done
add "tunespan, one run" all "$bin/tunespan"
[ -z "$before" ] || add "tunespan, one run (before)" all "$before/tunespan"

# Every line runs once a round, for $RUNS rounds, and its least time counts:
# the rounds interleave the programs, so a busy spell on a shared machine
# slows them alike rather than one of them.
round=0
while [ $round -lt "$RUNS" ]; do
    round=$((round + 1))
    n=0
    while IFS="$(printf '\t')" read -r name kind program; do
        n=$((n + 1))
        if [ "$kind" = each ]; then
            command="for f in '$small'/*.mid; do '$program' \"\$f\"; done"
        else
            command="'$program' '$small'/*.mid"
        fi
        /usr/bin/time -f "%e" -o "$work/time" sh -c "$command" > /dev/null 2>&1 || echo "FAILED: $name" >&2
        t=$(tail -n 1 "$work/time")
        [ -f "$work/best.$n" ] && [ "$round" -gt 1 ] && t=$(echo "$(cat "$work/best.$n") $t" | awk '{ print ($2 < $1) ? $2 : $1 }')
        echo "$t" > "$work/best.$n"
    done < "$lines"
done

# instructions PROGRAM: instructions of one run on the 10 KB file, or nothing.
instructions() {
    command -v valgrind > /dev/null || return 0
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" "$one" > /dev/null 2> "$work/callgrind" || true
    awk '/Collected :/ { printf "%.2f M instructions a run", $NF / 1e6 }' "$work/callgrind"
}

echo "== once per file ($count runs each; the least of $RUNS rounds)"
reference=""
command -v midicsv > /dev/null || echo "(midicsv is not installed: apt-get install midicsv to compare)"
n=0
while IFS="$(printf '\t')" read -r name kind program; do
    n=$((n + 1))
    t=$(cat "$work/best.$n")
    if [ "$kind" = each ]; then
        [ "$name" = midicsv ] && reference=$t
        ratio=$(echo "$t ${reference:-0}" | awk '{ if ($2 > 0) printf "%5.2f x", $1 / $2 }')
        printf '%-28s %8.2f s  %7s  %s\n' "$name" "$t" "$ratio" "$(instructions "$program")"
    else
        [ "$name" = "tunespan, one run" ] && echo "== all files in one run"
        printf '%-28s %8.2f s  %7.0f files/s\n' "$name" "$t" "$(echo "$t $count" | awk '{ print ($1 > 0) ? $2 / $1 : 0 }')"
    fi
done < "$lines"
