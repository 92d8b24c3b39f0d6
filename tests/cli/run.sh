#!/usr/bin/env bash
# Runs data-driven command-line test cases.
#
# usage: run.sh BIN_DIR CASES_DIR...
#
# Each case is a folder holding:
#   cmd      one shell command line, run by sh in a scratch folder that holds a
#            copy of the program's shared files/ folder (CASES_DIR/files), then
#            of the case's own files/ folder, whose files win; BIN_DIR comes
#            first on PATH, so programs are named as a user types them
#   stdin    (optional) fed to the command's standard input
#   stdout   (optional) expected standard output, byte for byte; absent: empty
#   stderr   (optional) expected standard error, byte for byte; absent: empty
#   status   (optional) expected exit code of the command line; absent: 0
# In expected files, @BUILD_DATE@ stands for the build date ("Feb  1 2026").
# The command line can reach shared files through $FIXTURES (tests/fixtures)
# and $CORPUS (tests/corpus).
set -u
bin=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
export FIXTURES="$here/../fixtures"
export CORPUS="$here/../corpus"
export PATH="$bin:$PATH"
export LC_ALL=C
build_date=$(smftext --version | sed -n 's/^compiled: //p')

failed=0
count=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

expect() {  # expected-file actual-file label case
    local want="$scratch/want"
    if [ -f "$1" ]; then
        sed "s/@BUILD_DATE@/$build_date/g" "$1" >"$want"
    else
        : >"$want"
    fi
    if ! cmp -s "$want" "$2"; then
        echo "FAIL $4: $3 differs"
        diff <(od -c "$want") <(od -c "$2") | head -20
        return 1
    fi
}

for dir in "$@"; do
    dir=$(cd "$dir" && pwd)
    for case in "$dir"/*/; do
        case=${case%/}
        [ -f "$case/cmd" ] || continue
        count=$((count + 1))
        work="$scratch/work"
        rm -rf "$work" && mkdir -p "$work"
        [ -d "$dir/files" ] && cp -R "$dir/files/." "$work/"
        [ -d "$case/files" ] && cp -R "$case/files/." "$work/"
        input=/dev/null
        [ -f "$case/stdin" ] && input="$case/stdin"
        (cd "$work" && timeout 60 sh -c "$(cat "$case/cmd")" <"$input" >"$scratch/out" 2>"$scratch/err")
        status=$?
        want_status=0
        [ -f "$case/status" ] && want_status=$(cat "$case/status")
        name="${case#"$here"/}"
        ok=1
        expect "$case/stdout" "$scratch/out" stdout "$name" || ok=0
        expect "$case/stderr" "$scratch/err" stderr "$name" || ok=0
        if [ "$status" != "$want_status" ]; then
            echo "FAIL $name: exit code $status, expected $want_status"
            ok=0
        fi
        [ $ok = 1 ] || failed=$((failed + 1))
    done
done
echo "$((count - failed)) of $count cases passed"
[ $failed = 0 ]
