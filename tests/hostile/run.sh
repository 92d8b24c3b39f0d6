#!/bin/sh
# Runs every program that reads MIDI on every hostile file.
# usage: tests/hostile/run.sh BIN_DIR [SANITIZED]
#
# A run must end by itself within 10 seconds, under a 2 GiB memory limit, with
# exit code 0 or 1; on a bad-* file (not a readable MIDI file) with exit code
# 1 and a message. Programs and their command lines: tests/hostile/programs.txt
# ("NAME<TAB>COMMAND" with $F the input and $O an output path).
set -u
bin=$(cd "$1" && pwd)
sanitized=${2:-0}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$bin:$PATH"
mkdir -p "$work/files"
make_hostile_files "$work/files" || exit 1

if [ "$sanitized" = 1 ]; then
    # AddressSanitizer reserves terabytes of address space, so the limit is
    # put on what the program really uses and allocates instead.
    export ASAN_OPTIONS="hard_rss_limit_mb=2048:max_allocation_size_mb=2048:allocator_may_return_null=0"
    limit=""
else
    limit="ulimit -v 2097152;"
fi

failures=0
runs=0
while IFS="$(printf '\t')" read -r name command; do
    case $name in ''|'#'*) continue ;; esac
    for F in "$work"/files/*; do
        file=$(basename "$F")
        O="$work/out"
        rm -f "$O"
        runs=$((runs + 1))
        (cd "$work" && F="$F" O="$O" timeout -s KILL 10 sh -c "$limit $command" \
            > "$work/stdout" 2> "$work/stderr" < /dev/null)
        status=$?
        problem=""
        case $status in
            0|1) ;;
            137) problem="did not end within 10 s (killed)" ;;
            *) problem="exit code $status" ;;
        esac
        if [ -z "$problem" ] && [ "${file#bad-}" != "$file" ] && [ "${name#text-}" = "$name" ]; then
            if [ $status != 1 ]; then
                problem="accepted a file that is not MIDI (exit 0)"
            elif [ ! -s "$work/stderr" ] && [ ! -s "$work/stdout" ]; then
                problem="exit 1 without a message"
            fi
        fi
        if [ -n "$problem" ]; then
            failures=$((failures + 1))
            echo "FAIL $name on $file: $problem"
            head -c 600 "$work/stderr"
        fi
    done
done < "$here/programs.txt"
# A failed allocation is one line and exit code 1, never an abort. Only the
# plain programs can be given less memory than an input needs (the
# sanitizer's allocator reports a failed allocation itself).
if [ "$sanitized" != 1 ]; then
    runs=$((runs + 1))
    truncate -s 512M "$work/half-gib.mid"
    (ulimit -v 262144; smftext "$work/half-gib.mid") > "$work/stdout" 2> "$work/stderr"
    status=$?
    if [ $status != 1 ] || [ "$(cat "$work/stderr")" != "Error: out of memory" ]; then
        failures=$((failures + 1))
        echo "FAIL smftext on a 512 MiB input under a 256 MiB limit: exit code $status"
        head -c 600 "$work/stderr"
    fi
fi
echo "$((runs - failures)) of $runs runs passed"
[ $failures = 0 ]
