#!/bin/sh
# Every program that reads MIDI, given a damaged-but-readable file, prints and
# writes exactly what it does for the sound file the damage was made from
# (tests/damaged/make_damaged_files.cpp makes the pairs).
# usage: tests/damaged/run.sh BIN_DIR
#
# The programs and their command lines are those of the hostile-input run
# (tests/hostile/programs.txt); left out are the text readers, notejumble's
# random shuffle and smfcheck, whose report is meant to differ.
set -u
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$bin:$PATH"
make_damaged_files "$work/files" || exit 1

# Runs one command on one file in its own folder, where the file is always
# called song.mid, and keeps what it printed, wrote and returned.
run() { # KIND CASE NAME COMMAND
    dir="$work/run/$1/$2/$3"
    mkdir -p "$dir"
    cp "$work/files/$1/$2" "$dir/song.mid"
    (cd "$dir" && F=song.mid O=out timeout -s KILL 20 sh -c "$4" > stdout 2> stderr < /dev/null; echo $? > status)
}

failures=0
runs=0
while IFS="$(printf '\t')" read -r name command; do
    case $name in ''|'#'*|text-*|notejumble|smfcheck*) continue ;; esac
    for file in "$work"/files/damaged/*; do
        case=$(basename "$file")
        run damaged "$case" "$name" "$command"
        run sound "$case" "$name" "$command"
        runs=$((runs + 1))
        a="$work/run/damaged/$case/$name"
        b="$work/run/sound/$case/$name"
        for part in status stdout stderr out; do
            if [ -e "$a/$part" ] || [ -e "$b/$part" ]; then
                if ! cmp -s "$a/$part" "$b/$part"; then
                    failures=$((failures + 1))
                    echo "FAIL $name on $case: $part differs from the sound file's"
                    diff "$b/$part" "$a/$part" 2>&1 | head -8
                    break
                fi
            fi
        done
        if [ "$(cat "$a/status")" != 0 ]; then
            failures=$((failures + 1))
            echo "FAIL $name on $case: exit $(cat "$a/status")"
            head -c 300 "$a/stderr"
        fi
    done
done < "$here/../hostile/programs.txt"
echo "$((runs - failures)) of $runs runs passed"
[ $failures = 0 ]
